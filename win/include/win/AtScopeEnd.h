#pragma once
// Runs an action when the scope ends, an exception ending it too: the one
// "finally" of the program, for what is not a handle of its own. The action
// must not throw, as it may run while an error unwinds.
#include <utility>

namespace zep {

template <class Action>
class AtScopeEnd {
public:
    explicit AtScopeEnd(Action action) : action_(std::move(action)) {}
    ~AtScopeEnd() { action_(); }
    AtScopeEnd(const AtScopeEnd&) = delete;
    AtScopeEnd& operator=(const AtScopeEnd&) = delete;

private:
    Action action_;
};

}  // namespace zep
