#include "AboutDialog.h"

#include "ui/about/AboutTexts.h"
#include "ui/common/web/Dom.h"

namespace pevrand::web
{

void OpenAboutDialog()
{
    if (DialogOpen("frmAbout"))
        return;
    const AboutWindowTexts texts = AboutTexts();
    SetElementText("frmAboutCaption", texts.Caption);
    SetElementText("lblVersion", texts.Version);
    SetElementText("lblTitle", texts.Title);
    SetElementText("lblDisclaimer", texts.Disclaimer);
    SetElementText("lblDescription", texts.Description);
    ShowDialog("frmAbout", {});
}

} // namespace pevrand::web
