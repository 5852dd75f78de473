#include "app/window/WindowState.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "app/window/TFormMainZELX13c.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/TFrameMemoHolder.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// Places of memo files not opened for long go.
constexpr std::size_t kRememberedPlaces = 100;
constexpr const char* kRestoredProperty = "zelLayoutRestored";
constexpr std::string_view kMainWindow = "main";

std::string stateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/') return utf8ToSjis(state) + "/zel";
    const char* home = std::getenv("HOME");
    return utf8ToSjis(home ? home : "") + "/.local/state/zel";
}

// A companion window's name in the state: its object name, else its class.
std::string windowName(const QWidget& window) {
    const QString name = window.objectName();
    return (name.isEmpty() ? QString::fromLatin1(window.metaObject()->className()) : name)
        .toStdString();
}

// The splitter of a window: the main window's between its list and its node
// view, a companion's first.
QSplitter* splitterOf(const QWidget& window) {
    if (const auto* main = qobject_cast<const TFormMainZELX13c*>(&window))
        return main->FrameMemoHolder1->Splitter1;
    return window.findChild<QSplitter*>();
}

void rememberLayout(WindowState& state, const QWidget& window, const std::string& name) {
    state.setLayout(name, window.saveGeometry());
    if (const QSplitter* splitter = splitterOf(window))
        state.setLayout(name + ".splitter", splitter->saveState());
}

void restoreLayout(const WindowState& state, QWidget& window, const std::string& name) {
    if (const QByteArray geometry = state.layout(name); !geometry.isEmpty()) {
        window.restoreGeometry(geometry);
        // The splitter takes its sizes at the window's new size, not shares of the old.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    if (QSplitter* splitter = splitterOf(window))
        if (const QByteArray sizes = state.layout(name + ".splitter"); !sizes.isEmpty())
            splitter->restoreState(sizes);
}

bool isCompanion(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->isWindow() && widget->property(kRestoredProperty).toBool();
}

// "key=value" lines under "[section]" headers.
struct Line {
    std::string section;
    std::string key;
    std::string value;
};

// The file is UTF-8: split on the bytes themselves, never as Shift_JIS.
std::vector<std::string> splitBytes(std::string_view text, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end = text.find(at); end != std::string_view::npos;
         end = text.find(at, start)) {
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

std::vector<Line> readLines(std::string_view text) {
    std::vector<Line> lines;
    std::string section;
    for (std::string line : splitBytes(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        lines.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
    }
    return lines;
}

}  // namespace

std::string WindowState::filePath() {
    return stateFolder() + "/state.ini";
}

WindowState WindowState::load() {
    std::string text;
    if (!readFile(filePath(), text)) return {};
    return parse(text);
}

bool WindowState::save() const {
    if (!makeDirs(stateFolder())) return false;
    return static_cast<bool>(writeFileSafely(filePath(), text()));
}

void WindowState::addRecent(std::string_view path) {
    std::erase(recent_, std::string(path));
    recent_.insert(recent_.begin(), std::string(path));
    if (recent_.size() > kRecentFiles) recent_.resize(kRecentFiles);
}

void WindowState::setPlace(const MemoFilePlace& place) {
    std::erase_if(places_, [&](const MemoFilePlace& each) { return each.path == place.path; });
    places_.insert(places_.begin(), place);
    if (places_.size() > kRememberedPlaces) places_.resize(kRememberedPlaces);
}

const MemoFilePlace* WindowState::place(std::string_view path) const {
    for (const MemoFilePlace& each : places_)
        if (each.path == path) return &each;
    return nullptr;
}

QByteArray WindowState::layout(const std::string& name) const {
    const auto found = layouts_.find(name);
    if (found == layouts_.end()) return {};
    return QByteArray::fromBase64(QByteArray::fromStdString(found->second));
}

void WindowState::setLayout(const std::string& name, const QByteArray& bytes) {
    layouts_[name] = bytes.toBase64().toStdString();
}

// Paths and names are written in UTF-8, as every other file of the user's
// desktop; the model's Shift_JIS comes back on reading.
std::string WindowState::text() const {
    std::string text = "[Window]\n";
    for (const auto& [name, value] : layouts_) text += name + "=" + value + "\n";
    text += "\n[Recent]\n";
    for (std::size_t i = 0; i < recent_.size(); ++i)
        text += std::to_string(i + 1) + "=" + sjisToUtf8(recent_[i]) + "\n";
    text += "\n[Places]\n";
    for (std::size_t i = 0; i < places_.size(); ++i)
        text += std::to_string(i + 1) + "=" + sjisToUtf8(places_[i].holder) + "\t" +
                sjisToUtf8(places_[i].node) + "\t" + sjisToUtf8(places_[i].path) + "\n";
    return text;
}

WindowState WindowState::parse(std::string_view text) {
    WindowState state;
    for (const Line& line : readLines(text)) {
        if (line.section == "Window") {
            state.layouts_[line.key] = line.value;
        } else if (line.section == "Recent" && state.recent_.size() < kRecentFiles) {
            state.recent_.push_back(utf8ToSjis(line.value));
        } else if (line.section == "Places") {
            const std::vector<std::string> parts = splitBytes(line.value, '\t');
            if (parts.size() == 3)
                state.places_.push_back(
                    {utf8ToSjis(parts[2]), utf8ToSjis(parts[0]), utf8ToSjis(parts[1])});
        }
    }
    return state;
}

void rememberWindows(const TFormMainZELX13c& window) {
    WindowState state = WindowState::load();
    rememberLayout(state, window, std::string(kMainWindow));
    for (const QObject* child : window.children())
        if (isCompanion(child))
            rememberLayout(state, *static_cast<const QWidget*>(child),
                           windowName(*static_cast<const QWidget*>(child)));
    const std::string path = window.aFile->getMemoFilePath_();
    const MemoHolder* holder = window.getCurHolder();
    const MemoNode* node = window.getCurMemoNode();
    if (fileExists(path)) {
        state.addRecent(path);
        if (holder) state.setPlace({path, holder->getName_(), node ? node->getName_() : ""});
    }
    state.save();
}

void fitOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    if (free.contains(frame)) return;
    const QSize frameExtra = frame.size() - window.size();
    const QSize fitting(std::min(window.width(), free.width() - frameExtra.width()),
                        std::min(window.height(), free.height() - frameExtra.height()));
    if (fitting != window.size()) window.resize(fitting.expandedTo(window.minimumSize()));
    const QSize outer = window.size() + frameExtra;
    window.move(
        std::clamp(frame.x(), free.left(), std::max(free.left(), free.right() + 1 - outer.width())),
        std::clamp(frame.y(), free.top(),
                   std::max(free.top(), free.bottom() + 1 - outer.height())));
}

void restoreMainWindow(TFormMainZELX13c& window) {
    restoreLayout(WindowState::load(), window, std::string(kMainWindow));
    // Qt refuses a geometry saved on a screen much wider or narrower than this
    // one, and the first start has none: the window at its default size and
    // place may then stand past the screen's edges.
    fitOnScreen(window);
}

void restoreCompanion(QWidget& companion) {
    if (companion.property(kRestoredProperty).toBool()) return;
    companion.setProperty(kRestoredProperty, true);
    restoreLayout(WindowState::load(), companion, windowName(companion));
}

void rememberRecentFile(std::string_view path) {
    WindowState state = WindowState::load();
    state.addRecent(path);
    state.save();
}

void restorePlace(TFormMainScript& window) {
    const WindowState state = WindowState::load();
    const MemoFilePlace* place = state.place(window.aFile->getMemoFilePath_());
    if (!place) return;
    for (int i = 0; i < window.aFile->countOfHolders_(); ++i) {
        MemoHolder* holder = window.aFile->holderAt_(i);
        if (holder->getName_() != place->holder) continue;
        window.changeHolder_(holder);
        if (MemoNode* node = holder->byName_(place->node)) window.setCurMemoNode_(node);
        return;
    }
}

int openRecentFile(TFormMainScript& window, std::string_view path) {
    if (window.refuse(Busy)) return kFailed;
    if (!fileExists(path)) {
        window.messageDoing_("ERROR: not found \"" + std::string(path) + "\"");
        return kFailed;
    }
    if (!window.querySaveChanges_()) return kFailed;
    // In this window, whatever memo file it shows now.
    if (lowerText(extensionOf(path)) == ".maz")
        window.decompressMemoFile_(path);
    else
        window.openMemoFile_(path);
    restorePlace(window);
    return 0;
}

namespace {

void fillRecentMenu(TFormMainMenu& window, QMenu& recent) {
    recent.clear();
    const WindowState state = WindowState::load();
    for (const std::string& path : state.recent()) {
        QString caption = toQt(path);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = recent.addAction(caption);
        QObject::connect(item, &QAction::triggered, &window,
                         [&window, path] { openRecentFile(window, path); });
    }
    recent.setEnabled(!recent.isEmpty());
}

}  // namespace

void addRecentMenu(TFormMainMenu& window) {
    QMenu* recent = window.mainMenu("&File")->addMenu(QStringLiteral("Recent"));
    QObject::connect(recent, &QMenu::aboutToShow, &window,
                     [&window, recent] { fillRecentMenu(window, *recent); });
    fillRecentMenu(window, *recent);
}

}  // namespace zel
