#include "ui/Unit1.h"

namespace zep {

TForm1* Form1 = nullptr;

namespace {

TForm::Options Form1Options() {
    TForm::Options o;
    o.caption = "Groups Configuration";
    o.clientWidth = 426;
    o.clientHeight = 296;
    o.position = TPosition::poScreenCenter;
    return o;
}

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner, Form1Options()) { Created(); }

}  // namespace zep
