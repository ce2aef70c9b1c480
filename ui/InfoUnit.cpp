#include "ui/InfoUnit.h"

#include "resources/resource.h"
#include "resources/version.h"
#include "toolkit/Scaling.h"

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

// A link sized to its address, at the given top; CentreOn places it across.
TURLLabel& MakeLink(TComponent& owner, TWinControl& parent, int top, TURLType type, const char* address) {
    auto& link = owner.Make<TURLLabel>(&owner, &parent);
    link.URLType = type;
    link.SetCaption(address);
    link.SetBounds(0, top, link.Width(), link.Height());
    link.SetCursor(crHandPoint);
    return link;
}

// Centres a link on a point of its top edge (at 96 dots per inch): the page
// keeps its symmetry whatever the address and the display's scale.
void CentreOn(TURLLabel& link, int centre) {
    link.SetBounds(Scaled(centre) - link.Width() / 2, link.Top(), link.Width(), link.Height());
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

    URLLabel1 = &MakeLink(*this, *Panel1, 78, TURLType::utHTTP, ZEPTON_HOME_PAGE);
    URLLabel2 = &MakeLink(*this, *Panel1, 97, TURLType::utMailTo, ZEPTON_CONTACT_MAIL);

    OvalButton1 = &Make<TOvalButton>(this, this);
    OvalButton1->SetBounds(116, 174, 65, 25);
    OvalButton1->SetCaption("Close");
    OvalButton1->SetLayout(blGlyphBottom);
    OvalButton1->SetSpacing(4);
    OvalButton1->SetBevelWidth(2);
    OvalButton1->SetColor(clBtnFace);
    OvalButton1->SetTransparentColor(clBlack);
    OvalButton1->OnClick = [this](TObject* s) { OvalButton1Click(s); };
    // Never Escape or Enter: the window keeps those for nothing.
    Keys.Add({vkF4, ssAlt}, *OvalButton1);
}

// What depends on measured text and on the page's real size is placed at the
// window's final scale: the panel fills the page, the links are centred.
void TInfoForm::Loaded() {
    TForm::Loaded();
    Panel1->SetBounds(0, 0, TabSheet1->Width(), TabSheet1->Height());
    CentreOn(*URLLabel1, 144);
    CentreOn(*URLLabel2, 143);
}

void TInfoForm::OvalButton1Click(TObject*) { Close(); }

}  // namespace zep
