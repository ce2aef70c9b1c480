#include "ui/InfoUnit.h"

namespace zep {

TInfoForm* InfoForm = nullptr;

namespace {

TForm::Options InfoFormOptions() {
    TForm::Options o;
    o.caption = "Information";
    o.clientWidth = 297;
    o.clientHeight = 202;
    o.borderStyle = TBorderStyle::bsDialog;
    o.borderIcons = 0;
    o.left = 233;
    o.top = 158;
    return o;
}

}  // namespace

TInfoForm::TInfoForm(TComponent* owner) : TForm(owner, InfoFormOptions()) { Created(); }

}  // namespace zep
