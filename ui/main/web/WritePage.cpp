// The page writer, run at build time: writes the one HTML file of the page from the windows'
// descriptions, the program's icon and the module (emscripten's output, the WebAssembly inside
// it), so that the controls are in the markup and draw before the module has loaded.
//
// Usage: WritePage <page.html> <module.js> <icon.png>
#include "ui/about/web/AboutMarkup.h"
#include "ui/common/web/Markup.h"
#include "ui/main/MainWindowDesign.h"
#include "ui/main/web/MainMarkup.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace
{

std::string ReadFile(const char *path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file)
        throw std::runtime_error(std::string("cannot read ") + path);
    return bytes.str();
}

std::string Page(const std::string &module, const std::string &icon)
{
    using namespace pevrand::web;
    const std::string iconUri = "data:image/png;base64," + Base64(icon);
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<title>" +
           Escaped(pevrand::main_window::Window.Caption) + "</title><link rel=\"icon\" href=\"" +
           iconUri + "\"><style>" + CommonStyle() + "</style></head><body><main>" +
           MainWindowMarkup(iconUri) + AboutDialogMarkup(iconUri) + MessageBoxMarkup() +
           "</main><script>" + module + "</script></body></html>\n";
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: WritePage <page.html> <module.js> <icon.png>\n";
        return 2;
    }
    try {
        const std::string module = ReadFile(argv[2]);
        // The module ends its <script> only where the page does.
        if (module.find("</script") != std::string::npos)
            throw std::runtime_error("the module's script contains </script");
        std::ofstream(argv[1], std::ios::binary) << Page(module, ReadFile(argv[3]));
    } catch (const std::exception &error) {
        std::cerr << "WritePage: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
