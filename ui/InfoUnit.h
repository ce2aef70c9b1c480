#pragma once
// The About window.
#include "toolkit/Forms.h"

namespace zep {

class TInfoForm : public TForm {
public:
    explicit TInfoForm(TComponent* owner);
};

extern TInfoForm* InfoForm;

}  // namespace zep
