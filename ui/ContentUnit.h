#pragma once
// The group preview window.
#include "toolkit/Forms.h"

namespace zep {

class TContentForm : public TForm {
public:
    explicit TContentForm(TComponent* owner);
};

extern TContentForm* ContentForm;

}  // namespace zep
