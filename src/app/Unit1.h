#pragma once

#include <QMainWindow>
#include <QString>

class BarManager;
class Localizer;
class QAction;
class Ribbon;
class RibbonStatusBar;
class SkinController;

namespace richedit {
class RichEditControl;
}

// The full path of the file the open document belongs to; empty while the
// document is untitled.
extern QString OpenDocumentPath;
// The question of the save prompt, filled by the first translation pass.
extern QString SaveChangesQuestion;

class TForm1;
extern TForm1 *Form1;

// The main window: the ribbon, the editor and the status bar built from the
// window's design, the document's path and title, the save prompts, the
// contextual tabs, the caption translation and the English profile.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Components
    BarManager *dxBarManager1 = nullptr;
    Ribbon *dxRibbon = nullptr;
    richedit::RichEditControl *dxRichEditControl1 = nullptr;
    RibbonStatusBar *dxRibbonStatusBar = nullptr;
    Localizer *cxLocalizer1 = nullptr;
    SkinController *dxSkinController = nullptr;

    // A command object of the window's command list by name.
    QAction *action(const QString &name) const;

    // Handlers
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool &canClose);
    void dxRichEditControl1ModifiedChanged();
    void dxRichEditControl1SelectionChanged();
    void BSouborNovyClick();
    void acOtevritExecute();
    void BSouborUlozitClick();
    void BSouborUlozitJakoClick();
    void bVlozitDatumClick();
    void bVlozitCasClick();
    void bVlozitDatumCasClick();
    void bDomuSchrankaVLozitProstyTextClick();
    void bZobrazeni1Click();
    void bZobrazeniPravopisClick();
    void BNapovedaCoJeNovehoClick();
    void bNapovedaPrejitNaWebClick();

    void UpdateCaption();
    void LoadTranslations(const QString &language);
    void PrelozDoAnglictiny();
    void nastavitokraje();

    // Inserts text at the caret of the story being edited and focuses the editor.
    void insertAtCaret(const QString &text);

    static QString homePage();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Asks whether to save a modified document: false when the caller
    // must stop (Cancel, or Yes but the document is still not saved).
    bool saveChangesFirst();
    void runCommand(const QString &name);
    void setCaption(const QString &component, const QString &text);
    QString caption(const QString &component) const;

    bool m_shown = false;
};
