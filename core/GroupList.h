#pragma once
// The group list: group names in listing order, each with a tick. The main
// window's check-list box implements it; Apply, the check states and the
// preview read it through this interface.
#include <string>
#include <utility>
#include <vector>

namespace zep {

class GroupList {
public:
    virtual ~GroupList() = default;
    virtual int Count() const = 0;
    virtual std::string Name(int index) const = 0;
    virtual bool Checked(int index) const = 0;
    virtual void SetChecked(int index, bool checked) = 0;
    virtual void Clear() = 0;
    virtual void Add(const std::string& name) = 0;  // appended unticked
};

// A group list held in memory.
class PlainGroupList final : public GroupList {
public:
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Name(int index) const override { return items_.at(index).first; }
    bool Checked(int index) const override { return items_.at(index).second; }
    void SetChecked(int index, bool checked) override { items_.at(index).second = checked; }
    void Clear() override { items_.clear(); }
    void Add(const std::string& name) override { items_.emplace_back(name, false); }

private:
    std::vector<std::pair<std::string, bool>> items_;
};

}  // namespace zep
