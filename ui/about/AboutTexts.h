// The About window's texts, built from the program's identity when the window loads: the same
// for every front end.
#pragma once

#include <string>

namespace pevrand
{

struct AboutWindowTexts {
    std::string Caption;     // the window's caption: "About " and the title
    std::string Version;     // lblVersion: the major and minor version, no revision
    std::string Title;       // lblTitle: the title and what the program is
    std::string Disclaimer;  // lblDisclaimer
    std::string Description; // lblDescription: the author credit line
};

// The texts the About window's Form_Load sets, from the program's title, version numbers and
// author: "About Pevrand", "Version 2.1", "Pevrand : Neutron Units Converter", "Use at your own
// risk!" and "Author:" with the author's name and e-mail address.
AboutWindowTexts AboutTexts();

} // namespace pevrand
