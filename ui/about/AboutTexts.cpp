#include "AboutTexts.h"

#include "resources/ProgramIdentity.h"

namespace pevrand
{

AboutWindowTexts AboutTexts()
{
    const std::string title = PEVRAND_TITLE;
    return {
        "About " + title,
        "Version " + std::to_string(PEVRAND_VERSION_MAJOR) + "." +
            std::to_string(PEVRAND_VERSION_MINOR),
        title + " : Neutron Units Converter",
        "Use at your own risk!",
        "Author: " PEVRAND_AUTHOR_NAME " " PEVRAND_AUTHOR_EMAIL,
    };
}

} // namespace pevrand
