#include "toolkit/ShortCut.h"

namespace zep {
namespace {

struct KeyName {
    unsigned key;
    const char* name;
};

// In English like the program; a key without a name here is named by its code.
constexpr KeyName kKeyNames[] = {{vkReturn, "Enter"}, {vkLeft, "Left"}, {vkRight, "Right"}, {vkDelete, "Delete"}};

std::string KeyText(unsigned key) {
    for (const KeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key));
    if (key >= vkF1 && key < vkF1 + 24) return "F" + std::to_string(key - vkF1 + 1);
    const char* const digits = "0123456789ABCDEF";
    return std::string("Key ") + digits[(key >> 4) & 0xF] + digits[key & 0xF];
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
    std::string text;
    if (shortCut.shift & ssCtrl) text += "Ctrl+";
    if (shortCut.shift & ssAlt) text += "Alt+";
    if (shortCut.shift & ssShift) text += "Shift+";
    return text + KeyText(shortCut.key);
}

}  // namespace zep
