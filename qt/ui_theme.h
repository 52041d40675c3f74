#pragma once
/// Applies the themed look of SetUiStyle to the whole application: Qt's Fusion style with its light
/// palette while a style 1..3 is chosen, the look the application had before otherwise.

#include <QPalette>
#include <QString>

namespace ep::qt {

class UiTheme {
  public:
    /// Remembers the application's present look as the one without a theme.
    UiTheme();
    /// Gives the application its remembered look back.
    ~UiTheme();
    UiTheme(const UiTheme&) = delete;
    UiTheme& operator=(const UiTheme&) = delete;

    void apply(int style);

  private:
    QString m_plainStyle;
    QPalette m_plainPalette;
};

} // namespace ep::qt
