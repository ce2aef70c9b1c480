#pragma once
// A window's keys: each one clicks a button of the window, as the mouse would.
// The table is the one place where a key and its button meet: the key text that
// assistive technology reads for a button comes from here too.
#include "toolkit/ShortCut.h"

#include <windows.h>

#include <string>
#include <vector>

namespace zep {

class TWinControl;

// A button that a key or assistive technology can click.
class TClickable {
public:
    // Exactly what a click with the mouse does; nothing while the button is hidden or disabled.
    virtual void Press() = 0;

protected:
    ~TClickable() = default;
};

class TKeyTable {
public:
    struct Entry {
        TShortCut key;
        TClickable* button;
        const TWinControl* where;  // the control that must have the focus; null: anywhere in the window
    };

    void Add(TShortCut key, TClickable& button, const TWinControl* where = nullptr);
    // A key-down message of one of the table's keys, with the modifiers held,
    // presses its button once however long the key is held; true when the
    // table took the message.
    bool KeyDown(const MSG& msg, TShiftState shift) const;
    // "Ctrl+Enter": the key that clicks the button; empty when none does.
    std::string KeyText(const TClickable& button) const;
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

}  // namespace zep
