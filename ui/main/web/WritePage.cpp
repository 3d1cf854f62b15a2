// The page writer, run at build time: writes the page from the windows' descriptions, the
// program's icon and the module (emscripten's script and its WebAssembly), so that the controls
// are in the markup and draw before the module has loaded. It writes the page twice:
//   - the one-file page, which works as it is from disk or from any server, and
//   - the folder to host, which installs as a web app and works offline after one visit: the
//     page as index.html (naming its manifest and its service worker), the web app manifest,
//     the app's icons and the service worker sw.js.
// The digests come after it, from page_digests.py: the inline script's in each page's policy,
// whose script-src it leaves empty here, and, over the written folder, the worker's list of the
// files it keeps with the digest of each.
//
// Usage: WritePage <page.html> <folder> <version> <module.js> <module.wasm> <icon.png>
//                  <app-icons-folder> <worker.js>
#include "ui/about/web/AboutMarkup.h"
#include "ui/common/web/Markup.h"
#include "ui/main/MainWindowDesign.h"
#include "ui/main/web/MainMarkup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>

namespace
{

using namespace pevrand::web;

std::string ReadFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return bytes.str();
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    if (!file.flush())
        throw std::runtime_error("cannot write " + path);
}

// The app's icons in the hosted folder, drawn from the program's icon (tools/make_icon.py):
// the manifest lists those with a purpose, and the page names the one for iOS's home screen.
struct AppIcon {
    std::string_view File;
    int Size;
    std::string_view Purpose; // empty: not in the manifest
};
constexpr std::array AppIcons{
    AppIcon{"icon-192.png", 192, "any"},
    AppIcon{"icon-512.png", 512, "any"},
    AppIcon{"icon-maskable-512.png", 512, "maskable"},
    AppIcon{"apple-touch-icon.png", 180, ""},
};
constexpr std::string_view ManifestFile = "manifest.webmanifest";
constexpr std::string_view WorkerFile = "sw.js";

const std::string Title(pevrand::main_window::Window.Caption);
const std::string WindowColour = Colour(*pevrand::main_window::Window.Background);

// Shown in place of a working window where the page can't run: in the page from the start, so
// that it stays when no script runs (turned off, or blocked by a server's policy), and hidden by
// the script once the module has started.
constexpr std::string_view CannotStart =
    "Pevrand can't start in this browser: it needs JavaScript and WebAssembly, which this browser "
    "lacks or has turned off or blocked.";
// What the service worker shows offline in place of a stored page that no longer matches its
// hash (damaged, or rewritten by another page of the origin).
constexpr std::string_view CannotStartDamaged =
    "Pevrand can't start: its copy on this device is damaged. Open it once with the network on "
    "to repair it.";

// What the page may load: the one inline script named by its SHA-256 (left empty here, for
// page_digests.py to fill in), its WebAssembly, its inline style and data: images, and on the
// hosted page its manifest, icons and service worker from its own folder. Nothing from another
// origin; no <base>, no form sent anywhere (a dialog's form only closes it). Scripts may reach no
// HTML or script sink with a plain string (Trusted Types); the one policy, "pevrand", hands the
// service worker's address to register().
std::string Policy(bool hosted)
{
    return std::string("default-src 'none'; script-src 'sha256-' 'wasm-unsafe-eval'; "
                       "style-src 'unsafe-inline'; img-src data:") +
           (hosted ? " 'self'; manifest-src 'self'; worker-src 'self'" : "") +
           "; base-uri 'none'; form-action 'none'; require-trusted-types-for 'script'; "
           "trusted-types " +
           (hosted ? "pevrand" : "'none'");
}

// The hosted page's bar below the window, which the script shows: the Share link button (an
// installed app has no address bar to copy) and the status line (ready offline, a new version
// waiting, a link copied).
constexpr std::string_view AppBar =
    "<div class=\"bar\" id=\"appbar\" hidden><button type=\"button\" class=\"cmd\" "
    "id=\"share\">Share link</button><p id=\"status\" role=\"status\"></p></div>";

std::string Page(const std::string &module, const std::string &wasm, const std::string &icon,
                 const std::string &version, bool hosted)
{
    const std::string iconUri = "data:image/png;base64," + Base64(icon);
    const std::string script = "var pevrandWasm=\"" + Base64(wasm) + "\";\n" + module;
    std::string head = "<meta charset=\"utf-8\"><meta http-equiv=\"Content-Security-Policy\" "
                       "content=\"" +
                       Policy(hosted) +
                       "\"><meta name=\"viewport\" content=\"width=device-width, "
                       "initial-scale=1\"><title>" +
                       Escaped(Title) + "</title><meta name=\"theme-color\" content=\"" +
                       WindowColour + "\"><link rel=\"icon\" href=\"" + iconUri + "\">";
    if (hosted)
        head += "<link rel=\"manifest\" href=\"" + std::string(ManifestFile) +
                "\"><link rel=\"apple-touch-icon\" href=\"" + std::string(AppIcons.back().File) +
                "\">";
    return "<!DOCTYPE html>\n<html lang=\"en\" data-version=\"" + version + "\"" +
           (hosted ? " data-worker=\"" + std::string(WorkerFile) + "\"" : std::string()) +
           "><head>" + head + "<style>" + CommonStyle() + MainWindowStyle() +
           "</style></head><body><p id=\"nostart\" class=\"nostart\" role=\"alert\">" +
           Escaped(CannotStart) + "</p><main>" + MainWindowMarkup(iconUri) + ConstantsMarkup() +
           (hosted ? std::string(AppBar) : std::string()) + AboutDialogMarkup(iconUri) +
           MessageBoxMarkup() + "</main><script>" + script + "</script></body></html>\n";
}

// `text` as a JSON string, which is a JavaScript string too; the texts written are plain.
std::string JsonString(std::string_view text)
{
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            json += '\\';
        json += c;
    }
    return json + "\"";
}

// The web app manifest: the window's names and colour, the folder as its start and scope. It
// has no "id": the app is then its start_url, the folder, so that two copies on one origin
// install as two apps.
std::string Manifest()
{
    std::string icons;
    for (const AppIcon &icon : AppIcons) {
        if (icon.Purpose.empty())
            continue;
        const std::string size = std::to_string(icon.Size);
        icons += std::string(icons.empty() ? "" : ",\n") +
                 "    {\"src\": " + JsonString(icon.File) + ", \"sizes\": \"" + size + "x" + size +
                 "\", \"type\": \"image/png\", \"purpose\": " + JsonString(icon.Purpose) + "}";
    }
    return "{\n  \"name\": " + JsonString(Title) +
           ",\n  \"short_name\": " + JsonString(PEVRAND_TITLE) +
           ",\n  \"description\": \"One neutron quantity converted to another (energy, "
           "wavelength, velocity, temperature, Q, d-spacing, time-of-flight and more), to five "
           "significant figures, offline too.\",\n  \"lang\": \"en\",\n  \"start_url\": \"./\",\n  "
           "\"scope\": \"./\",\n  \"display\": \"standalone\",\n  "
           "\"theme_color\": " +
           JsonString(WindowColour) + ",\n  \"background_color\": " + JsonString(WindowColour) +
           ",\n  \"icons\": [\n" + icons + "\n  ]\n}\n";
}

// The service worker: the version and the page it shows offline when a stored file is damaged;
// then its script. page_digests.py puts above them the files it keeps, every other file of the
// folder, with the digest of each, and the revision of that list, which names its store, so that
// a rebuild at the same version gets a store of its own.
std::string Worker(const std::string &version, const std::string &script)
{
    const std::string damaged =
        "<!DOCTYPE html><html lang=\"en\"><meta charset=\"utf-8\"><meta name=\"viewport\" "
        "content=\"width=device-width, initial-scale=1\"><title>" +
        Escaped(Title) +
        "</title><p style=\"max-width:360px;margin:8px auto;font:12pt "
        "sans-serif\">" +
        Escaped(CannotStartDamaged) + "</p>";
    return "// Written by the page writer: the version and the page shown when a stored copy is "
           "damaged.\nvar VERSION = " +
           JsonString(version) + ";\nvar DAMAGED = " + JsonString(damaged) + ";\n\n" + script;
}

// `page` with the licence and the notices of what it bundles as a comment after its first
// line, <!DOCTYPE html>. Written here, before the page's digests are taken, so that the worker's
// is of the page as served.
std::string WithNotices(const std::string &page, const std::string &notices)
{
    const std::size_t firstLine = page.find('\n') + 1;
    return page.substr(0, firstLine) + "<!--\n" + notices + "-->\n" + page.substr(firstLine);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 10) {
        std::cerr << "usage: WritePage <page.html> <folder> <version> <module.js> <module.wasm> "
                     "<icon.png> <app-icons-folder> <worker.js> <notices.txt>\n";
        return 2;
    }
    try {
        const std::string folder = std::string(argv[2]) + "/";
        const std::string module = ReadFile(argv[4]), wasm = ReadFile(argv[5]),
                          icon = ReadFile(argv[6]);
        // The module ends its <script> only where the page does; HTML ends it at any case.
        std::string lower = module;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.find("</script") != std::string::npos)
            throw std::runtime_error("the module's script contains </script");
        const std::string notices = ReadFile(argv[9]);
        for (const std::string_view end : {"-->", "<!--", "--!>"})
            if (notices.find(end) != std::string::npos)
                throw std::runtime_error("the notices hold what would end their comment");
        WriteFile(argv[1], WithNotices(Page(module, wasm, icon, argv[3], false), notices));
        WriteFile(folder + "index.html",
                  WithNotices(Page(module, wasm, icon, argv[3], true), notices));
        WriteFile(folder + std::string(ManifestFile), Manifest());
        for (const AppIcon &appIcon : AppIcons)
            WriteFile(folder + std::string(appIcon.File),
                      ReadFile(std::string(argv[7]) + "/" + std::string(appIcon.File)));
        WriteFile(folder + std::string(WorkerFile), Worker(argv[3], ReadFile(argv[8])));
    } catch (const std::exception &error) {
        std::cerr << "WritePage: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
