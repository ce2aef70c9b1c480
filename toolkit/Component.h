#pragma once
// Components have an owner that frees them, in reverse order of creation, and
// get an after-loading call once their window's components are all built.
#include "toolkit/Events.h"

#include <memory>
#include <utility>
#include <vector>

namespace zep {

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner) : owner_(owner) {}
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    ~TComponent() override { DestroyComponents(); }

    TComponent* Owner() const { return owner_; }

    // Creates a component owned by this one.
    template <class T, class... Args>
    T& Make(Args&&... args) {
        auto owned = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *owned;
        ref.AfterConstruction();
        components_.push_back(std::move(owned));
        for (auto& c : components_) c->Notification(&ref, Operation::Insert);
        return ref;
    }

    // The components this one owns, in creation order.
    template <class F>
    void ForEachComponent(F&& f) const {
        for (const auto& c : components_) f(*c);
    }

    enum class Operation { Insert, Remove };

    // Called once the object is complete, its most derived constructor done.
    virtual void AfterConstruction() {}
    // The after-loading call, in creation order.
    virtual void Loaded() {}
    // Told of every component the owner inserts or removes.
    virtual void Notification(TComponent*, Operation) {}
    // Told that the owner's window has been made (a form's comes at its first need).
    virtual void OwnerWindowCreated() {}

protected:
    void LoadComponents() {
        for (auto& c : components_) c->Loaded();
    }
    // Frees owned components last-made first, telling the others of each removal.
    void DestroyComponents() {
        while (!components_.empty()) {
            std::unique_ptr<TComponent> last = std::move(components_.back());
            components_.pop_back();
            for (auto& c : components_) c->Notification(last.get(), Operation::Remove);
        }
    }

private:
    TComponent* owner_;
    std::vector<std::unique_ptr<TComponent>> components_;
};

}  // namespace zep
