/* The program's identity, held once: the windows, the version record and the build read it
   here. Plain macros, so that the resource compiler can read this file too. */
#ifndef PEVRAND_PROGRAM_IDENTITY_H
#define PEVRAND_PROGRAM_IDENTITY_H

#define PEVRAND_TITLE "Pevrand"
/* The version. A build may set all three otherwise: the page's suite builds the next version,
   to which a visitor's page updates. */
#ifndef PEVRAND_VERSION_MAJOR
#define PEVRAND_VERSION_MAJOR 2
#define PEVRAND_VERSION_MINOR 1
#define PEVRAND_VERSION_REVISION 0
#endif
#define PEVRAND_STRINGIFY_(x) #x
#define PEVRAND_STRINGIFY(x) PEVRAND_STRINGIFY_(x)
/* The version as the version record's texts write it: major, a point, the minor in two
   digits ("2.01"). */
#if PEVRAND_VERSION_MINOR < 10
#define PEVRAND_VERSION_TEXT                                                                       \
    PEVRAND_STRINGIFY(PEVRAND_VERSION_MAJOR) ".0" PEVRAND_STRINGIFY(PEVRAND_VERSION_MINOR)
#else
#define PEVRAND_VERSION_TEXT                                                                       \
    PEVRAND_STRINGIFY(PEVRAND_VERSION_MAJOR) "." PEVRAND_STRINGIFY(PEVRAND_VERSION_MINOR)
#endif
#define PEVRAND_AUTHOR_NAME "Pevrand Team"
#define PEVRAND_AUTHOR_EMAIL "pevrand@druvel.example"
#define PEVRAND_COMPANY "Druvel Facility"
/* The executable's name without its suffix; the build names the program's target after it. */
#define PEVRAND_EXECUTABLE "Pevrand"
/* The program's id on a Linux desktop (reverse DNS of the e-mail domain): the name of its
   menu entry, metainfo and icons, and the application's desktop file name. */
#define PEVRAND_DESKTOP_ID "example.druvel.Pevrand"

#endif
