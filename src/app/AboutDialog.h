#pragma once
#include "app/model/AboutGame.h"

#include <QDialog>
#include <QTimer>

namespace pictor {

// The About box. OK throws the window instead of closing it; see TAboutGame.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    // highScore: the record kept between runs.
    TfrmAbout(int& highScore, QWidget* parent = nullptr);

    // Shows the high-score message after at least one hit and keeps a new record in highScore.
    void done(int result) override;

protected:
    bool event(QEvent* event) override;

private:
    void btnOKClick();
    void GameStep();

    TAboutGame Game_;
    QTimer Timer_;
    int ScreenBottom_ = 0;
    int& HighScore_;
};

} // namespace pictor
