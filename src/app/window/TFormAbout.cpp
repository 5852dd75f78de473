#include "app/window/TFormAbout.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWindow>

#include "app/Version.h"
#include "app/commands/CommandKit.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/BitmapQt.h"
#include "views/ViewText.h"

namespace zel {

void paintAtOnce(QWidget& window) {
    constexpr int kLongestWaitMs = 1000;
    QElapsedTimer waited;
    waited.start();
    while (window.windowHandle() && !window.windowHandle()->isExposed() &&
           waited.elapsed() < kLongestWaitMs)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    window.repaint();
}

TFormAbout::TFormAbout(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("FormAbout"));
    resize(308, 327);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Image1 = new QLabel(this);
    Image1->setScaledContents(true);
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    Label1 = new QLabel(this);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->hide();
    layout->addWidget(Image1, 1);
    layout->addWidget(Label1, 1);
    Image1->installEventFilter(this);
    Label1->installEventFilter(this);

    popup_ = new QMenu(this);
    timerItem = popup_->addAction(QStringLiteral("timer"));
    timerItem->setCheckable(true);
    timerItem->setChecked(true);
    connect(timerItem, &QAction::toggled, this, &TFormAbout::followTimerItem);
    connect(Image1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(Image1->mapToGlobal(at)); });

    connect(&timer_, &QTimer::timeout, this, &TFormAbout::countDown);
}

int TFormAbout::setAboutImage(std::string_view path) {
    std::string name = fileExists(path) ? std::string(path) : std::string();
    std::string extension = lowerText(extensionOf(name));
    QImage picture;
    if (extension == ".jpg") {
        std::string bytes;
        if (readFile(name, bytes)) picture = decodeToQImage(bytes, ImageFormat::Jpeg);
    } else if (extension == ".bmp") {
        picture.load(toQt(name), "BMP");
    }
    if (picture.isNull()) {
        if (path.empty()) {
            showText(QStringLiteral("zel\n\nVersion %1\n%2")
                         .arg(QLatin1String(kVersionLabel), QLatin1String(kReleaseDateLabel)));
            return kFailed;
        }
        const QString name = toQt(fileNameOf(path));
        setWindowTitle(name);
        showText(name);
        return kFailed;
    }
    showPicture(picture);
    return 0;
}

void TFormAbout::showPicture(const QImage& picture) {
    Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->show();
    Label1->clear();
    Label1->hide();
}

void TFormAbout::showText(const QString& text) {
    Label1->setText(text);
    QFont font = Label1->font();
    font.setPointSize(20);
    Label1->setFont(font);
    Label1->show();
    Image1->clear();
    Image1->hide();
}

void TFormAbout::showFor(int milliseconds) {
    remaining_ = milliseconds;
    if (parentWidget()) {
        QRect over = parentWidget()->frameGeometry();
        move(over.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    followTimerItem(timerItem->isChecked());
    paintAtOnce(*this);
}

void TFormAbout::countDown() {
    if (QWidget* box = QApplication::activeModalWidget(); box && box != this) {
        close();
        return;
    }
    remaining_ -= kTickMilliseconds;
    if (!Label1->text().isEmpty()) Label1->update();
    Image1->update();
    if (remaining_ <= 0) close();
}

void TFormAbout::followTimerItem(bool checked) {
    // A hidden window has nothing to count down; the item keeps the choice.
    if (checked && isVisible()) {
        if (!timer_.isActive()) timer_.start(kTickMilliseconds);
    } else {
        timer_.stop();
    }
}

void TFormAbout::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

void TFormAbout::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) close();
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zel
