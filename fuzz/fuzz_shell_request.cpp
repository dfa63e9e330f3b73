// Requests of the desktop shell ([open("..."), [print("..."), [printto("...")) over arbitrary
// bytes. The bytes up to the first NUL are the request; the rest is the file "request.glz" in
// the fuzz directory, which is the current directory while the request runs, so a request
// naming it opens it through the glaze template. A request is handled exactly when it starts with one of the three
// prefixes and has a closing quote, and only names ending in ".glz" open a document.

#include "FuzzFiles.h"
#include "framework/DocRegistry.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "glazes/GlazesDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

bool HasPrefix(const std::string& text)
{
    for (const char* prefix : {"[open(\"", "[print(\"", "[printto(\""}) {
        if (text.rfind(prefix, 0) == 0)
            return text.find('"', std::strlen(prefix)) != std::string::npos;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    static COxidariumApp app;
    static const std::unique_ptr<CDocTemplate> glazes = CreateGlazesTemplate();
    g_pGlazesTemplate = glazes.get();

    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string request = input.substr(0, split);
    const std::string file = split == std::string::npos ? std::string() : input.substr(split + 1);
    WriteFuzzFile("request.glz", reinterpret_cast<const std::uint8_t*>(file.data()), file.size());

    std::string name;
    const bool parsed = ParseDDECommand(request, name);
    FuzzCheck(parsed == HasPrefix(request));
    FuzzCheck(parsed || name.empty());
    FuzzCheck(name.find('"') == std::string::npos);
    const std::filesystem::path caller = std::filesystem::current_path();
    std::filesystem::current_path(FuzzDirectory());
    const bool handled = app.OnDDECommand(request);
    std::filesystem::current_path(caller);
    FuzzCheck(handled == parsed);
    FuzzCheck(glazes->GetDocuments().size() <= 1);
    FuzzCheck(glazes->GetDocuments().empty() || HasGlazeExtension(name));
    for (CDocument* document : glazes->GetDocuments())
        document->OnCloseDocument();
    return 0;
}
