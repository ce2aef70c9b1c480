#include "ui/ContentUnit.h"

namespace zep {

TContentForm* ContentForm = nullptr;

namespace {

TForm::Options ContentFormOptions() {
    TForm::Options o;
    o.caption = "Shortcuts to view";
    o.clientWidth = 177;
    o.clientHeight = 180;
    o.position = TPosition::poScreenCenter;
    return o;
}

}  // namespace

TContentForm::TContentForm(TComponent* owner) : TForm(owner, ContentFormOptions()) {
    KeyPreview = true;
    Created();
}

}  // namespace zep
