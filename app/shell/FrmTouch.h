#pragma once

#include <QWidget>
#include <functional>

class QPushButton;
class QRadioButton;

// The entry screen: chooses and opens the database at creation, and leads
// after a login to the expert search, the project wizard or the main window.
class TFormTouch : public QWidget {
    Q_OBJECT
public:
    // Opens one working area modally over the given parent.
    using Opener = std::function<void(QWidget* parent)>;
    // Runs a login; true when a user logged in. endProgram is set when the
    // user closed the login window through the window system.
    using LoginRunner = std::function<bool(QWidget* parent, bool* endProgram)>;

    explicit TFormTouch(QWidget* parent = nullptr);

    // False when the desktop database could not be opened: the program ends.
    bool databaseOpened() const { return databaseOpened_; }

    void setExpertSearchOpener(Opener o) { openExpertSearch_ = std::move(o); }
    void setProjectWizardOpener(Opener o) { openProjectWizard_ = std::move(o); }
    void setMainWindowOpener(Opener o) { openMainWindow_ = std::move(o); }
    void setLoginRunner(LoginRunner r) { runLogin_ = std::move(r); }

    QPushButton* btnExpert;
    QPushButton* btnProject;
    QPushButton* btnManger;
    QPushButton* btnHelp;
    QPushButton* btnExit;
    QPushButton* btnMinimize;
    QRadioButton* rbAccess;
    QRadioButton* rbSQL;

public slots:
    void btnExpertClick();
    void btnProjectClick();
    void btnMangerClick();
    void btnHelpClick();
    void rbAccessClick();
    void rbSQLClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseDatabase();
    void openServerDatabase();
    // Hides the screen, runs the login and, on success, the target.
    void enterAfterLogin(const std::function<void()>& target);

    Opener openExpertSearch_;
    Opener openProjectWizard_;
    Opener openMainWindow_;
    LoginRunner runLogin_;
    bool databaseOpened_ = true;
};

// Shown instead of a working area that this build does not have yet.
void ShowNotYetAvailable(const QString& caption);
