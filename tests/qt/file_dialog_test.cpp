// The host's save dialog as the user meets it: a name typed without a suffix gets the default suffix before
// the dialog looks for an existing file, so its question about replacing one names the file to be written.

#include "qt/qt_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace ep::qt {
namespace {

TEST(FileDialog, ATypedNameWithoutASuffixIsAskedAboutAndReturnedWithTheDefaultSuffix) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const Text existing = folder.filePath("k.tonset").toStdString();
    std::ofstream(existing) << "old";
    QtHost host;
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.filterDisplay = "音响配置文件(*.tonset) ";
    request.filterPattern = "*.tonset";
    request.startPath = folder.filePath("k").toStdString();
    request.defaultSuffix = "tonset";

    QString question;
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* nameBox = dialog == nullptr ? nullptr : dialog->findChild<QLineEdit*>("fileNameEdit");
        if (nameBox == nullptr) {
            ADD_FAILURE() << "no file dialog with a name box";
            QApplication::activeModalWidget()->close();
            return;
        }
        nameBox->setText("k");
        // The question runs nested inside the key press that confirms the name.
        QTimer::singleShot(0, &guard, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question = box->text();
                box->button(QMessageBox::Yes)->click();
            }
        });
        QTest::keyClick(nameBox, Qt::Key_Return);
    });
    EXPECT_EQ(host.showFileDialog(request), existing);
    EXPECT_TRUE(question.contains("k.tonset")) << question.toStdString();
}

} // namespace
} // namespace ep::qt
