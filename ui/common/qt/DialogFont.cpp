#include "DialogFont.h"

#include "Fonts.h"

namespace pevrand
{

QFont DialogFont()
{
    return DesignFont(DialogFace);
}

} // namespace pevrand
