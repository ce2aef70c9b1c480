#include "ui/InfoUnit.h"

#include "resources/resource.h"
#include "resources/version.h"

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

TLabel& MakeCentredLabel(TComponent& owner, TWinControl& parent, RECT bounds, const char* caption) {
    auto& label = owner.Make<TLabel>(&owner, &parent, bounds.left, bounds.top, bounds.right, bounds.bottom);
    label.SetAutoSize(false);
    label.SetAlignment(TAlignment::taCenter);
    label.SetCaption(caption);
    return label;
}

// A link sized to its address and centred on the given point of the top edge:
// the page keeps its symmetry whatever the addresses are.
TURLLabel& MakeLink(TComponent& owner, TWinControl& parent, POINT topCentre, TURLType type, const char* address) {
    auto& link = owner.Make<TURLLabel>(&owner, &parent);
    link.URLType = type;
    link.SetCaption(address);
    link.SetBounds(topCentre.x - link.Width() / 2, topCentre.y, link.Width(), link.Height());
    link.SetCursor(crHandPoint);
    return link;
}

}  // namespace

TInfoForm::TInfoForm(TComponent* owner) : TForm(owner, InfoFormOptions()) {
    PageControl1 = &Make<TPageControl>(this, this, 0, 0, 297, 169);
    TabSheet1 = &Make<TTabSheet>(this, PageControl1, "About...");
    Panel1 = &Make<TPanel>(this, TabSheet1, 0, 0, TabSheet1->Width(), TabSheet1->Height());
    Panel1->SetBevelOuter(TBevelCut::bvLowered);
    Panel1->SetColor(clWindow);

    Image1 = &Make<TImage>(this, Panel1, 231, 10, 50, 50);
    Image1->Picture.LoadFromResourceID(::GetModuleHandleA(nullptr), IDB_ABOUT);

    Label1 = &MakeCentredLabel(*this, *Panel1, {11, 11, 209, 24}, "Zepton");
    Label1->Font().SetHeight(-17);
    Label1->Font().SetStyle(fsBold);
    Label1->FontChanged();
    Label4 = &MakeCentredLabel(*this, *Panel1, {6, 40, 217, 13}, "Keeps the Desktop tidy. Made by Kestrin.");

    URLLabel1 = &MakeLink(*this, *Panel1, {144, 78}, TURLType::utHTTP, ZEPTON_HOME_PAGE);
    URLLabel2 = &MakeLink(*this, *Panel1, {143, 97}, TURLType::utMailTo, ZEPTON_CONTACT_MAIL);

    OvalButton1 = &Make<TOvalButton>(this, this);
    OvalButton1->SetBounds(116, 174, 65, 25);
    OvalButton1->SetCaption("Close");
    OvalButton1->SetLayout(blGlyphBottom);
    OvalButton1->SetSpacing(4);
    OvalButton1->SetBevelWidth(2);
    OvalButton1->SetColor(clBtnFace);
    OvalButton1->SetTransparentColor(clBlack);
    OvalButton1->OnClick = [this](TObject* s) { OvalButton1Click(s); };
    Created();
}

void TInfoForm::OvalButton1Click(TObject*) { Close(); }

}  // namespace zep
