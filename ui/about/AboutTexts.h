// The About window's run-time texts, made from the program's identity as its Form_Load sets
// them, once for every front end.
#pragma once

#include <string>

namespace pevrand
{

struct AboutTexts {
    std::string Caption;     // the window's: "About " and the title
    std::string Version;     // lblVersion: "Version " major "." minor, no revision
    std::string Title;       // lblTitle: the title and " : Neutron Units Converter"
    std::string Disclaimer;  // lblDisclaimer
    std::string Description; // lblDescription: "Author:", the author's name and e-mail address
};

// The texts for the program's title and version (resources/ProgramIdentity.h).
AboutTexts MakeAboutTexts();

} // namespace pevrand
