#pragma once
// The credits window: how to cite the calculator, its terms of use, and a way
// to the makers' website.

#include <QDialog>
#include <QString>

#include "platform.h"
#include "ui_frmCredits.h"

namespace tarnwick {

// The makers' website, both quoted in the citation and opened by the button.
inline constexpr char makersWebAddress[] = "https://quindle.example/";

// The citation as the credits window shows it, ending with a line break.
QString citation();

class frmCredits final : public QDialog {
    Q_OBJECT

public:
    frmCredits(UrlOpener openUrl, QWidget* owner);

    void cmdQuindleWebsite_Click();

protected:
    // The window has no cancel button, so Esc leaves it open; only the close
    // button closes it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    Ui::frmCredits ui;
    UrlOpener openUrl_;
};

}  // namespace tarnwick
