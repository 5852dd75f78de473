#include "app/window/TFormMainBaseZEL.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/commands/Shortcuts.h"
#include "app/window/NodeEditor.h"
#include "app/window/Stamps.h"
#include "app/window/TFormAbout.h"
#include "app/window/TFormLog.h"
#include "platform/Compression.h"
#include "platform/Downloader.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/SafeFileWriter.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// A file dropped over the comment box larger than this is not inserted.
constexpr std::size_t kLargestDroppedText = 3145728;

}  // namespace

TFormMainBaseZEL::TFormMainBaseZEL(QWidget* parent) : TFormMainBase0007(parent) {
    setAcceptDrops(true);
    startSecondInstance = [this](const std::string& path) {
        startDetached({exePath, path}, currentDirectory());
    };
}

TFormMainBaseZEL::~TFormMainBaseZEL() {
    setAcceptDrops(false);
}

TFormLog* TFormMainBaseZEL::formLog() {
    if (!formLog_) formLog_ = new TFormLog(this);
    return formLog_;
}

int TFormMainBaseZEL::addLog_(std::string_view text) {
    formLog()->addLine(text);
    return 0;
}

int TFormMainBaseZEL::showFormLog() {
    TFormLog* log = formLog();
    log->setWindowTitle(toQt("FormLog " + aFile->getName_()));
    log->setFont(font());
    log->setWindowState(Qt::WindowNoState);
    log->show();
    return 0;
}

int TFormMainBaseZEL::getFormAbout() {
    if (!formAbout_) formAbout_ = new TFormAbout(this);
    return 0;
}

int TFormMainBaseZEL::setAboutImage(std::string_view path) {
    getFormAbout();
    return formAbout_->setAboutImage(path);
}

void TFormMainBaseZEL::showAbout(int milliseconds) {
    getFormAbout();
    formAbout_->showFor(milliseconds);
}

int TFormMainBaseZEL::_open_(std::string_view given) {
    if (given.empty()) return kFailed;
    std::string path = shortcutTarget(given);
    const std::string extension = lowerText(extensionOf(path));
    if (isWebAddress(path)) {
        messageDoing_("Loading Now " + path);
        std::string local = getTempDirectory() + urlToFileName(path);
        if (!downloader().download(path, local).ok()) return kFailed;
        path = local;
    } else if (dirExists(path)) {
        if (!path.ends_with('/')) path += '/';
        newNodeOfKind_(path, KindURL);
        return 1;
    }
    return extension.empty() ? openWithoutExtension(path) : openByExtension(path, extension);
}

int TFormMainBaseZEL::openByExtension(const std::string& path, const std::string& extension) {
    if (extension == ".z") return openCompressedFile(path);
    if (extension == ".maz") {
        decompressMemoFile_(path);
        return 0;
    }
    if (extension == ".mxa") {
        if (aFile->getMemoFilePath_() != "noname.mxa")
            startSecondInstance(path);
        else
            openMemoFile_(path);
        return 0;
    }
    if (extension == ".mxh" || extension == ".mhz") return openHolder_(path) ? 0 : kFailed;
    return newNodeOfKind_(path, KindFile) ? 0 : kFailed;
}

int TFormMainBaseZEL::openWithoutExtension(const std::string& path) {
    if (fileExists(path + ".mxa")) {
        openMemoFile_(path + ".mxa");
        return 0;
    }
    if (fileExists(path + ".maz")) {
        decompressMemoFile_(path + ".maz");
        return 0;
    }
    if (fileExists(path + ".mxh")) return openHolder_(path + ".mxh") ? 0 : kFailed;
    return kFailed;
}

int TFormMainBaseZEL::openCompressedFile(const std::string& path) {
    const std::string target = path.substr(0, path.size() - 2);
    std::string plain;
    IoResult result = readCompressedFile(path, plain);
    if (result) result = writeFileSafely(target, plain);
    if (!result) {
        addLog_(result.message);
        prompter().message("SYSTEM ERROR: _open_ " + result.message);
        return kFailed;
    }
    return _open_(target);
}

std::string TFormMainBaseZEL::getDefaultOpenFile() const {
    const std::string directory = currentDirectory();
    const std::string wanted = trimText(defaultOpenFile);
    std::string path = wanted.empty()             ? directory + "noname.mxa"
                       : folderOf(wanted).empty() ? directory + wanted
                                                  : wanted;
    std::string extension = lowerText(extensionOf(path));
    if (extension != ".mxa" && extension != ".maz") {
        std::string container = withExtension(path, ".maz");
        path = fileExists(container) ? container : withExtension(path, ".mxa");
    }
    return path;
}

void TFormMainBaseZEL::openArg1(const std::vector<std::string>& arguments) {
    CommandScope scope(*this, "Open Arg1");
    std::string path;
    if (!arguments.empty()) {
        path = trimText(arguments.front());
        if (folderOf(path).empty()) path = currentDirectory() + path;
    } else {
        path = getDefaultOpenFile();
    }
    messageDoing_("Open Arg1 " + path);
    if (extensionOf(path).empty()) {
        if (fileExists(path + ".mxa"))
            path += ".mxa";
        else if (fileExists(path + ".maz"))
            path += ".maz";
    }
    if (fileExists(path) || dirExists(path)) {
        openingArgument_ = true;
        openTrouble_.clear();
        _open_(path);
        openingArgument_ = false;
        scope.endWith(openTrouble_.empty() ? "Done: Loaded " + path : "ERROR: " + openTrouble_);
    } else {
        addLog_("Not found \"" + path + "\"");
        aFile->setFilename(path);
        aFile->changed = true;
        showFormLog();
        scope.endWith("Done: Not Found " + path);
    }
    setCaption_();
}

void TFormMainBaseZEL::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFormMainBaseZEL::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths.push_back(fromQt(url.toLocalFile()));
    }
    if (paths.empty()) return;
    event->acceptProposedAction();
    dropFiles_(paths, mapToGlobal(event->position().toPoint()));
}

void TFormMainBaseZEL::dropFiles_(const std::vector<std::string>& paths,
                                  const QPoint& globalPosition) {
    NodeEditor* editor = nodeEditor();
    if (dropMode == DropString || dropMode == DropExtractFileName) {
        if (!editor) return;
        for (const std::string& path : paths) {
            editor->appendMemoLine(dropMode == DropString ? path : fileNameOf(path));
        }
        return;
    }
    if (paths.size() == 1) {
        dropOneFileOpen(paths.front(), globalPosition);
        return;
    }
    for (const std::string& path : paths) _open_(path);
}

void TFormMainBaseZEL::dropOneFileOpen(const std::string& path, const QPoint& globalPosition) {
    NodeEditor* editor = nodeEditor();
    if (editor && editor->isOverComment(globalPosition)) {
        if (fileSize(path).value_or(0) > kLargestDroppedText) {
            messageDoing_("Too Large 3MB Over " + path);
            return;
        }
        std::string text;
        if (readFile(path, text)) editor->appendCommentLines(textLines(text));
    } else if (editor && editor->isOverFields(globalPosition)) {
        editor->setFieldsBoxValue("Link", wrapQuotes(path));
    } else {
        _open_(path);
    }
}

}  // namespace zel
