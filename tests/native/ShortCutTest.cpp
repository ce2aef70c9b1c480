#include "toolkit/ShortCut.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace zep;

TEST(ShortCutToText, ModifiersInWindowsOrderThenTheKeysName) {
    for (auto [key, text] : {std::pair<TShortCut, const char*>{{vkReturn, ssCtrl}, "Ctrl+Enter"},
                             {{vkLeft, ssShift | ssCtrl}, "Ctrl+Shift+Left"},
                             {{'S', ssShift | ssAlt | ssCtrl}, "Ctrl+Alt+Shift+S"},
                             {{vkF4, ssAlt}, "Alt+F4"}, {{vkF1 + 23, 0}, "F24"}, {{vkDelete, 0}, "Delete"},
                             // A key without a name of its own is named by its code.
                             {{0xBE, ssCtrl}, "Ctrl+Key BE"}, {{vkF1 + 24, 0}, "Key 88"}})
        EXPECT_EQ(text, ShortCutToText(key));
}

}  // namespace
