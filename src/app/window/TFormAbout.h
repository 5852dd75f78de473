#pragma once
// The about window: a picture that closes itself after a period. It serves as
// the start-up splash and as Help > "About".

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <string>
#include <string_view>

class QAction;
class QMenu;

namespace zel {

// Shows a window's content now: waits (a second at most) until the window is
// on the screen and paints it, for a caller that lets no event through for a
// while after.
void paintAtOnce(QWidget& window);

class TFormAbout : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTickMilliseconds = 200;

    explicit TFormAbout(QWidget* mainWindow);

    // Shows a ".jpg" file as JPEG, a ".bmp" file as a bitmap: 0. Any other
    // name, a missing file or an unreadable picture shows the file name as
    // text and as the caption: -1. Without a name at all (no picture was
    // set up) it shows the program's name, version and date instead of
    // nothing: -1.
    int setAboutImage(std::string_view path);
    // Shows the window for `milliseconds`, counted down by the timer, with
    // its content painted at once.
    void showFor(int milliseconds);

    int remainingMilliseconds() const { return remaining_; }
    bool timerRunning() const { return timer_.isActive(); }
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QAction* timerItem = nullptr;

  public slots:
    // One timer step: 200 ms less; the window closes when nothing is left,
    // or at once when a box of the program waits for an answer (the splash
    // stays on top and would hide it).
    void countDown();
    // The "timer" item: stops or resumes the countdown from the time left.
    void followTimerItem(bool checked);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showPicture(const QImage& picture);
    void showText(const QString& text);

    int remaining_ = 3000;
    QTimer timer_;
    QMenu* popup_ = nullptr;
};

}  // namespace zel
