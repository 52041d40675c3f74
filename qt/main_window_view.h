#pragma once
/// The view of the main window: the client area with the background picture, one widget per control at
/// its defined place, the title and icon, centred on the screen when shown. It mirrors the window's model
/// and holds no state of its own; the window must outlive the view.

#include "qt/ui_theme.h"

#include <QImage>
#include <QWidget>

#include <map>

namespace ep {
class Control;
class Window;
} // namespace ep

namespace ep::qt {

class CommonEventFilter;

class MainWindowView : public QWidget {
  public:
    explicit MainWindowView(Window& window);
    ~MainWindowView() override;
    MainWindowView(const MainWindowView&) = delete;
    MainWindowView& operator=(const MainWindowView&) = delete;

    void showCentred();

    /// The widget of a control; null for the kinds without one.
    QWidget* widgetOf(const Control& control) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildControlWidgets();

    Window& m_window;
    UiTheme m_theme;
    QImage m_background;
    std::map<const Control*, QWidget*> m_widgets;
    CommonEventFilter* m_windowEvents;
};

} // namespace ep::qt
