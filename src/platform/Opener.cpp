#include "platform/Opener.h"

#include <utility>

#include "platform/Shell.h"

namespace zel {

namespace {

DesktopOpener& installed() {
    static DesktopOpener opener;
    return opener;
}

}  // namespace

DesktopOpener setDesktopOpener(DesktopOpener opener) {
    return std::exchange(installed(), std::move(opener));
}

bool openOnDesktop(std::string_view target, std::string_view workingFolder) {
    const DesktopOpener& opener = installed();
    return opener ? opener(target, workingFolder) : shellOpen(target, workingFolder);
}

}  // namespace zel
