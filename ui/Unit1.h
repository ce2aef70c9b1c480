#pragma once
// The groups configuration window.
#include "toolkit/Forms.h"

namespace zep {

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);
};

extern TForm1* Form1;

}  // namespace zep
