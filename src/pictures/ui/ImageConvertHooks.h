#pragma once

#include <QString>

class QWidget;

namespace tavisto {

// What the image conversion dialog asks of the desktop: choosing files and showing
// messages. The dialog uses the native file dialogs and message boxes; tests put in
// their own answers.
class ImageConvertHooks {
public:
    virtual ~ImageConvertHooks() = default;
    // The chosen file, or an empty text when the operator cancels. `filter` is in Qt's
    // name filter form.
    virtual QString chooseOpenFile(QWidget* parent, const QString& filter) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const QString& filter,
                                   const QString& initialName) = 0;
    virtual void showError(QWidget* parent, const QString& message) = 0;
    virtual void showWarning(QWidget* parent, const QString& message) = 0;
};

class NativeImageConvertHooks : public ImageConvertHooks {
public:
    QString chooseOpenFile(QWidget* parent, const QString& filter) override;
    QString chooseSaveFile(QWidget* parent, const QString& filter,
                           const QString& initialName) override;
    void showError(QWidget* parent, const QString& message) override;
    void showWarning(QWidget* parent, const QString& message) override;
};

// A file dialog filter written as "Name (*.a;*.b)|*.a;*.b|..." turned into Qt's name
// filters, "Name (*.a *.b);;...".
QString QtNameFilters(const QString& filter);

} // namespace tavisto
