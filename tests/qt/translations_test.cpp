// The standard dialogs in the window's language: Qt's own Chinese texts on their buttons and labels.

#include "qt/message_box.h"
#include "qt/qt_host.h"
#include "qt/translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace ep::qt {
namespace {

/// The texts of the buttons of the modal widget that the call shows, read as soon as it is up; the
/// widget is then rejected.
template <typename Widget> QStringList ButtonTextsShownBy(const std::function<void()>& show) {
    QStringList texts;
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget());
        if (widget == nullptr) {
            ADD_FAILURE() << "nothing modal is shown";
            return;
        }
        for (const auto* button : widget->template findChildren<QAbstractButton*>())
            if (button->isVisible() && !button->text().isEmpty())
                texts << button->text();
        for (const auto* label : widget->template findChildren<QLabel*>())
            if (label->isVisible() && !label->text().isEmpty())
                texts << label->text();
        widget->reject();
    });
    show();
    return texts;
}

class Translations : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(InstallChineseTranslations(*QCoreApplication::instance())); }
};

TEST_F(Translations, AMessageBoxAsksWith确定And取消) {
    const QStringList texts = ButtonTextsShownBy<QMessageBox>([] { ShowMessageBox({"正文", "标题", 1}); });
    EXPECT_TRUE(texts.contains("确定")) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("取消")) << texts.join('|').toStdString();
}

TEST_F(Translations, AnOpenDialogNamesItsButtonsAndFieldsInChinese) {
    QtHost host;
    const QStringList texts = ButtonTextsShownBy<QFileDialog>([&host] {
        host.showFileDialog({FileDialogKind::Open, "音响配置文件(*.tonset) ", "*.tonset", "", ""});
    });
    for (const char* expected : {"打开(&O)", "取消", "文件名称(&N)："})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected << " in " << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains("Cancel")) << texts.join('|').toStdString();
}

} // namespace
} // namespace ep::qt
