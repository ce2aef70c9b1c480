#pragma once
// The About window: the program's name and picture, a credit line, a link to
// the web page and one that starts a mail.
#include "controls/OvalBtn.h"
#include "controls/URLLabel.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zep {

class TInfoForm : public TForm {
public:
    explicit TInfoForm(TComponent* owner);

    TPageControl* PageControl1;
    TTabSheet* TabSheet1;
    TPanel* Panel1;
    TImage* Image1;
    TLabel* Label1;
    TLabel* Label4;
    TURLLabel* URLLabel1;
    TURLLabel* URLLabel2;
    TOvalButton* OvalButton1;

    void OvalButton1Click(TObject* sender);

protected:
    void Loaded() override;
};

extern TInfoForm* InfoForm;

}  // namespace zep
