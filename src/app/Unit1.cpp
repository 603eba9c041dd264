#include "Unit1.h"

#include "fDatumACas.h"
#include "platform/Application.h"
#include "platform/DateTimeFormat.h"
#include "platform/ErrorReport.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/Localizer.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"
#include "ribbon/Bar.h"
#include "ribbon/BarItem.h"
#include "ribbon/BarManager.h"
#include "ribbon/KeyboardStatePanel.h"
#include "ribbon/Ribbon.h"
#include "ribbon/RibbonDesignLoader.h"
#include "ribbon/RibbonStatusBar.h"
#include "ribbon/RibbonTab.h"
#include "ribbon/SkinController.h"
#include "richedit/commands/CommandFactory.h"
#include "richedit/view/RichEditControl.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>

// The window designs are compiled into the program as resources.
static void initResources()
{
    Q_INIT_RESOURCE(app);
}

QString OpenDocumentPath;
QString SaveChangesQuestion;
TForm1 *Form1 = nullptr;

using richedit::RichEditControl;

namespace {

const QString ApplicationName = QStringLiteral("Marlix Editor");

// The captions a translation pass replaces, in the order it reads them:
// the key, the component that takes the text, and where the default comes
// from when that is not the component itself.
struct TranslationRow
{
    const char16_t *key;
    const char16_t *target;
    const char16_t *defaultFrom;
};

const TranslationRow translationRows[] = {
    {u"BSouborNovy", u"BSouborNovy", nullptr},
    {u"BSouborOtevrit", u"BSouborOtevrit", nullptr},
    {u"BSouborUlozit", u"BSouborUlozit", nullptr},
    {u"BSouborUlozitJako", u"BSouborUlozitJako", nullptr},
    {u"ZalozkaDomu", u"ZalozkaDomu", nullptr},
    {u"ZalozkaSouborSoubor", u"ZalozkaSoubor", u"ZalozkaSouborSoubor"},
    {u"ZalozkaSouborTisk", u"ZalozkaSouborTisk", nullptr},
    {u"ZalozkaSouborSoubor", u"ZalozkaSouborSoubor", nullptr},
    {u"ZalozkaDomuSchranka", u"ZalozkaDomuSchranka", nullptr},
    {u"ZalozkaDomuPismo", u"ZalozkaDomuPismo", nullptr},
    {u"ZalozkaDomuOdstavec", u"ZalozkaDomuOdstavec", nullptr},
    {u"ZalozkaDomuStyly", u"ZalozkaDomuStyly", nullptr},
    {u"ZalozkaDomuUpravy", u"ZalozkaDomuUpravy", nullptr},
    {u"ZalozkaVlozit", u"ZalozkaVlozit", nullptr},
    {u"ZalozkaVlozitZahlaviZapati", u"ZalozkaVlozitZahlaviZapati", nullptr},
    {u"ZalozkaVlozitStranky", u"ZalozkaVlozitStranky", nullptr},
    {u"ZalozkaVlozitIlustrace", u"ZalozkaVlozitIlustrace", nullptr},
    {u"ZalozkaVlozitOdkazy", u"ZalozkaVlozitOdkazy", nullptr},
    {u"ZalozkaVlozitSymboly", u"ZalozkaVlozitSymboly", nullptr},
    {u"ZalozkaVlozitTabulka", u"ZalozkaVlozitTabulka", nullptr},
    {u"ZalozkaVlozitText", u"ZalozkaVlozitText", nullptr},
    {u"bVlozitDatum", u"bVlozitDatum", nullptr},
    {u"bVlozitCas", u"bVlozitCas", nullptr},
    {u"bVlozitDatumCas", u"bVlozitDatumCas", nullptr},
    {u"fDatumCas", u"fDatumCas", nullptr},
    {u"ZalozkaRozlozeniStranky", u"ZalozkaRozlozeniStranky", nullptr},
    {u"ZalozkaRozlozeniStrankyVzhledStranky", u"ZalozkaRozlozeniStrankyVzhledStranky", nullptr},
    {u"bRozlozeniStrankyOrientace", u"bRozlozeniStrankyOrientace", nullptr},
    {u"bRozlozeniStrankySloupce", u"bRozlozeniStrankySloupce", nullptr},
    {u"bRozlozeniStrankyVzhledStrankyKonce", u"bRozlozeniStrankyVzhledStrankyKonce", nullptr},
    {u"bRozlozeniStrankyCislovaniRadku", u"bRozlozeniStrankyCislovaniRadku", nullptr},
    {u"ZalozkaUsporadat", u"ZalozkaUsporadat", nullptr},
    {u"bRozlozeniStrankyUsporadatZalomovatText", u"bRozlozeniStrankyUsporadatZalomovatText",
     nullptr},
    {u"bRozlozeniStrankyVolbaPozice", u"bRozlozeniStrankyVolbaPozice", nullptr},
    {u"bRozlozeníStrankyPrenestBliz", u"bRozlozeníStrankyPrenestBliz", nullptr},
    {u"bRozlozeniStrankyPrenestDal", u"bRozlozeniStrankyPrenestDal", nullptr},
    {u"ZalozkaReference", u"ZalozkaReference", nullptr},
    {u"ZalozkaReferenceObsah", u"ZalozkaReferenceObsah", nullptr},
    {u"ZalozkaReferenceTitulky", u"ZalozkaReferenceTitulky", nullptr},
    {u"bReferenceTitullkyVlozitTitulek", u"bReferenceTitullkyVlozitTitulek", nullptr},
    {u"bReferenceTitulkyVlozitSeznam", u"bReferenceTitulkyVlozitSeznam", nullptr},
    {u"bReferenceObsahPridatText", u"bReferenceObsahPridatText", nullptr},
    {u"ZalozkaRevize", u"ZalozkaRevize", nullptr},
    {u"ZalozkaRevizePravopis", u"ZalozkaRevizePravopis", nullptr},
    {u"ZalozkaRevizeZabezpeceni", u"ZalozkaRevizeZabezpeceni", nullptr},
    {u"ZalozkaZobrazeni", u"ZalozkaZobrazeni", nullptr},
    {u"ZalozkaZobrazeniPravopis", u"ZalozkaZobrazeniPravopis", nullptr},
    {u"bZobrazeniPravopis", u"bZobrazeniPravopis", nullptr},
    {u"ZalozkaZobrazeniZobrazeni", u"ZalozkaZobrazeniZobrazeni", nullptr},
    {u"ZalozkaZobrazeniPravitka", u"ZalozkaZobrazeniPravitka", nullptr},
    {u"ZalozkaZobrazeniLupa", u"ZalozkaZobrazeniLupa", nullptr},
    {u"ZalozkaZahlaviZapati", u"ZalozkaZahlaviZapati", nullptr},
    {u"ZalozkaZahlaviZapatiNastaveni", u"ZalozkaZahlaviZapatiNastaveni", nullptr},
    {u"ZalozkaZahlaviZapatiNavigace", u"ZalozkaZahlaviZapatiNavigace", nullptr},
    {u"ZalozkaVlozitZahlaviZapatiZavrit", u"ZalozkaVlozitZahlaviZapatiZavrit", nullptr},
    {u"ZalozkaNavrhTabulky", u"ZalozkaNavrhTabulky", nullptr},
    {u"ZalozkaNavrhTabulkuOhraniceni", u"ZalozkaNavrhTabulkuOhraniceni", nullptr},
    {u"bNavrhDolniOhraniceni", u"bNavrhDolniOhraniceni", nullptr},
    {u"ZalozkaNavrhTabulkyStyl", u"ZalozkaNavrhTabulkyStyl", nullptr},
    {u"ZalozkaRozlozeniTabulky", u"ZalozkaRozlozeniTabulky", nullptr},
    {u"ZalozkaRozlozeniTabulkyTabulka", u"ZalozkaRozlozeniTabulkyTabulka", nullptr},
    {u"ZalozkaRozlozeniTabulkyRadkyASloupce", u"ZalozkaRozlozeniTabulkyRadkyASloupce", nullptr},
    {u"bRozlozeniTabulkyOdstranitTabulku", u"bRozlozeniTabulkyOdstranitTabulku", nullptr},
    {u"bRozlozeniTabulkyDialog", u"bRozlozeniTabulkyDialog", nullptr},
    {u"ZalozkaRozlozeniTabulkySloucit", u"ZalozkaRozlozeniTabulkySloucit", nullptr},
    {u"ZalozkaRozlozeniTabulkyZarovnani", u"ZalozkaRozlozeniTabulkyZarovnani", nullptr},
    {u"ZalozkaRozlozeniStrankyVelikostBunky", u"ZalozkaRozlozeniStrankyVelikostBunky", nullptr},
    {u"bRozlozeniTabulkyPrispusobit", u"bRozlozeniTabulkyPrispusobit", nullptr},
    {u"ZalozkaNapoveda", u"ZalozkaNapoveda", nullptr},
    {u"ZalozkaNapovedaNapoveda", u"ZalozkaNapovedaNapoveda", nullptr},
    {u"bNapovedaPrejitNaWeb", u"bNapovedaPrejitNaWeb", nullptr},
    {u"BNapovedaCoJeNoveho", u"BNapovedaCoJeNoveho", nullptr},
};

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    // The program-wide reference exists before any component does.
    Form1 = this;
    initResources();
    setWindowTitle(ApplicationName);
    resize(1250, 751);
    QFont font(QStringLiteral("Segoe UI"));
    font.setPointSize(9);
    setFont(font);

    dxSkinController = new SkinController(this);
    cxLocalizer1 = new Localizer(this);
    dxBarManager1 = new BarManager(this);
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    dxRibbon = new Ribbon(dxBarManager1, central);
    dxRichEditControl1 = new RichEditControl(central);
    dxRichEditControl1->setObjectName(QStringLiteral("dxRichEditControl1"));
    QFont editorFont(QStringLiteral("Times New Roman"));
    editorFont.setPointSize(12);
    dxRichEditControl1->setFont(editorFont);
    dxRichEditControl1->setMeasurementUnit(richedit::MeasurementUnit::Centimeter);
    dxRichEditControl1->documentSaveOptions().currentFormat = QStringLiteral("OpenXml");
    dxRichEditControl1->documentSaveOptions().defaultFormat = QStringLiteral("OpenXml");
    dxRichEditControl1->view(richedit::ViewType::PrintLayout)->setZoomFactor(1.1f);
    layout->addWidget(dxRibbon);
    layout->addWidget(dxRichEditControl1, 1);
    setCentralWidget(central);
    dxRibbonStatusBar = new RibbonStatusBar(this);
    setStatusBar(dxRibbonStatusBar);

    const QHash<QString, RibbonDesignLoader::Handler> handlers{
        {QStringLiteral("BSouborNovyClick"), [this] { BSouborNovyClick(); }},
        {QStringLiteral("acOtevritExecute"), [this] { acOtevritExecute(); }},
        {QStringLiteral("BSouborUlozitClick"), [this] { BSouborUlozitClick(); }},
        {QStringLiteral("BSouborUlozitJakoClick"), [this] { BSouborUlozitJakoClick(); }},
        {QStringLiteral("bVlozitDatumClick"), [this] { bVlozitDatumClick(); }},
        {QStringLiteral("bVlozitCasClick"), [this] { bVlozitCasClick(); }},
        {QStringLiteral("bVlozitDatumCasClick"), [this] { bVlozitDatumCasClick(); }},
        {QStringLiteral("bDomuSchrankaVLozitProstyTextClick"),
         [this] { bDomuSchrankaVLozitProstyTextClick(); }},
        {QStringLiteral("bZobrazeni1Click"), [this] { bZobrazeni1Click(); }},
        {QStringLiteral("bZobrazeniPravopisClick"), [this] { bZobrazeniPravopisClick(); }},
        {QStringLiteral("BNapovedaCoJeNovehoClick"), [this] { BNapovedaCoJeNovehoClick(); }},
        {QStringLiteral("bNapovedaPrejitNaWebClick"), [this] { bNapovedaPrejitNaWebClick(); }},
    };
    const RibbonDesignLoader loader(
        [](const QString &commandClass, const QString &name, QObject *owner) {
            QAction *a = richedit::CommandFactory::create(commandClass, owner);
            if (a)
                a->setObjectName(name);
            return a;
        },
        RibbonDesignLoader::table(handlers));
    loader.load(RibbonDesignLoader::read(QStringLiteral(":/designs/Unit1.design.json")), dxRibbon,
                dxRibbonStatusBar);
    // Checking as you type has no spell checker behind it yet.
    if (BarItem *spelling = dxBarManager1->item(QStringLiteral("bZobrazeniPravopis")))
        spelling->action()->setEnabled(false);

    if (KeyboardStatePanel *keys = dxRibbonStatusBar->keyboardStatePanel()) {
        connect(dxRichEditControl1, &RichEditControl::overwriteModeChanged, keys,
                &KeyboardStatePanel::setOverwriteMode);
    }
    connect(dxRichEditControl1, &RichEditControl::modifiedChanged, this,
            [this] { dxRichEditControl1ModifiedChanged(); });
    connect(dxRichEditControl1, &RichEditControl::selectionChanged, this,
            [this] { dxRichEditControl1SelectionChanged(); });

    // The editor's own keys for the document commands go through the
    // window's handlers, so they ask before discarding and keep the title.
    dxRichEditControl1->setFileKeyHandler([this](RichEditControl::FileKey key) {
        try {
            switch (key) {
            case RichEditControl::FileKey::New:
                BSouborNovyClick();
                break;
            case RichEditControl::FileKey::Open:
                acOtevritExecute();
                break;
            case RichEditControl::FileKey::Save:
                BSouborUlozitClick();
                break;
            case RichEditControl::FileKey::SaveAs:
                BSouborUlozitJakoClick();
                break;
            }
        } catch (const std::exception &e) {
            ErrorReport::show(e);
        }
    });
    setFocusProxy(dxRichEditControl1);
    dxRichEditControl1->setFocus();

    // The creation handler: a failure ends it and is reported, and the
    // window is still made.
    try {
        FormCreate();
    } catch (const std::exception &e) {
        ErrorReport::show(e);
    }
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

QAction *TForm1::action(const QString &name) const
{
    const BarManager::Command *c = dxBarManager1->command(name);
    return c ? c->action : nullptr;
}

void TForm1::runCommand(const QString &name)
{
    QAction *a = action(name);
    if (!a)
        throw Exception(QStringLiteral("The command %1 is missing").arg(name));
    a->trigger();
}

QString TForm1::homePage()
{
    return QStringLiteral("https://marlix-editor.example.org/");
}

// ---- creation and showing

void TForm1::FormCreate()
{
    PrelozDoAnglictiny();
    nastavitokraje();
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    try {
        FormShow();
    } catch (const std::exception &e) {
        ErrorReport::show(e);
    }
    dxRichEditControl1->setFocus();
}

void TForm1::FormShow()
{
    dxRibbon->tab(QStringLiteral("ZalozkaDomu"))->setActive(true);
    dxRibbon->tab(QStringLiteral("ZalozkaNavrhTabulky"))->setVisible(false);
    dxRibbon->tab(QStringLiteral("ZalozkaRozlozeniTabulky"))->setVisible(false);
    dxRibbon->tab(QStringLiteral("ZalozkaZahlaviZapati"))->setVisible(false);
}

void TForm1::dxRichEditControl1SelectionChanged()
{
    const bool inHeaderOrFooter = dxRichEditControl1->isSelectionInHeaderOrFooter();
    RibbonTab *headerFooter = dxRibbon->tab(QStringLiteral("ZalozkaZahlaviZapati"));
    headerFooter->setVisible(inHeaderOrFooter);
    if (inHeaderOrFooter)
        headerFooter->setActive(true);
    const bool inTable = dxRichEditControl1->isSelectionInTable();
    dxRibbon->tab(QStringLiteral("ZalozkaNavrhTabulky"))->setVisible(inTable);
    RibbonTab *tableLayout = dxRibbon->tab(QStringLiteral("ZalozkaRozlozeniTabulky"));
    tableLayout->setVisible(inTable);
    if (inTable)
        tableLayout->setActive(true);
}

// ---- document state and title

void TForm1::UpdateCaption()
{
    if (OpenDocumentPath.isEmpty()) {
        setWindowTitle(ApplicationName);
        return;
    }
    // The file name: what follows the last path separator of this platform.
    const QString name = QFileInfo(OpenDocumentPath).fileName();
    setWindowTitle(
        ApplicationName + QStringLiteral(" - (") + name +
        (dxRichEditControl1->isModified() ? QStringLiteral(") *") : QStringLiteral(")")));
}

void TForm1::dxRichEditControl1ModifiedChanged()
{
    UpdateCaption();
}

bool TForm1::saveChangesFirst()
{
    if (!dxRichEditControl1->isModified())
        return true;
    const QString text = SaveChangesQuestion + QStringLiteral("\r\r") + OpenDocumentPath;
    switch (MessageBoxes::warningYesNoCancel(this, text)) {
    case QMessageBox::Yes:
        runCommand(QStringLiteral("acUlozitDX"));
        // A save that did not happen (its dialog cancelled) must not let
        // the changes go.
        return !dxRichEditControl1->isModified();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void TForm1::BSouborNovyClick()
{
    if (!saveChangesFirst())
        return;
    runCommand(QStringLiteral("acSouborNovyDX"));
    setWindowTitle(ApplicationName);
    OpenDocumentPath.clear();
    nastavitokraje();
}

void TForm1::acOtevritExecute()
{
    if (!saveChangesFirst())
        return;
    runCommand(QStringLiteral("acOtevritDX"));
    OpenDocumentPath = dxRichEditControl1->documentSaveOptions().currentFileName;
    UpdateCaption();
}

void TForm1::BSouborUlozitClick()
{
    runCommand(QStringLiteral("acUlozitDX"));
    OpenDocumentPath = dxRichEditControl1->documentSaveOptions().currentFileName;
    UpdateCaption();
}

void TForm1::BSouborUlozitJakoClick()
{
    runCommand(QStringLiteral("acUlozitJakoDX"));
    OpenDocumentPath = dxRichEditControl1->documentSaveOptions().currentFileName;
    UpdateCaption();
}

void TForm1::FormCloseQuery(bool &canClose)
{
    canClose = true;
    if (!dxRichEditControl1->isModified())
        return;
    const QString text = SaveChangesQuestion + QStringLiteral("\r\r") + OpenDocumentPath;
    switch (MessageBoxes::warningYesNoCancel(this, text)) {
    case QMessageBox::Yes:
        runCommand(QStringLiteral("acUlozitDX"));
        canClose = !dxRichEditControl1->isModified();
        break;
    case QMessageBox::No:
        QCoreApplication::quit();
        break;
    default:
        canClose = false;
        break;
    }
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool canClose = true;
    try {
        FormCloseQuery(canClose);
    } catch (const std::exception &e) {
        // A failed save keeps the window open.
        canClose = false;
        ErrorReport::show(e);
    }
    if (canClose) {
        event->accept();
        QCoreApplication::quit();
    } else {
        event->ignore();
    }
}

// ---- translation and the English profile

QString TForm1::caption(const QString &component) const
{
    if (component == u"fDatumCas")
        return fDatumCas ? fDatumCas->windowTitle() : QString();
    if (RibbonTab *tab = dxRibbon->tab(component))
        return tab->caption();
    if (Bar *bar = dxBarManager1->bar(component))
        return bar->caption();
    if (BarItem *item = dxBarManager1->item(component))
        return item->caption();
    throw Exception(QStringLiteral("No component %1 has a caption").arg(component));
}

void TForm1::setCaption(const QString &component, const QString &text)
{
    if (component == u"fDatumCas") {
        if (fDatumCas)
            fDatumCas->setWindowTitle(text);
        return;
    }
    if (RibbonTab *tab = dxRibbon->tab(component))
        return tab->setCaption(text);
    if (Bar *bar = dxBarManager1->bar(component))
        return bar->setCaption(text);
    if (BarItem *item = dxBarManager1->item(component))
        return item->setCaption(text);
    throw Exception(QStringLiteral("No component %1 has a caption").arg(component));
}

void TForm1::LoadTranslations(const QString &language)
{
    const IniFile ini(Application::executableFolder() + QStringLiteral("translations.ini"));
    for (const TranslationRow &row : translationRows) {
        const QString key = QString::fromUtf16(row.key);
        const QString target = QString::fromUtf16(row.target);
        const QString current =
            caption(row.defaultFrom ? QString::fromUtf16(row.defaultFrom) : target);
        setCaption(target, ini.readString(language, key, current));
    }
    SaveChangesQuestion = ini.readString(language, QStringLiteral("SaveChanges"),
                                         QStringLiteral("Chcete uložit změny v souboru?"));
}

void TForm1::PrelozDoAnglictiny()
{
    dxRichEditControl1->setMeasurementUnit(richedit::MeasurementUnit::Inch);
    LoadTranslations(QStringLiteral("en"));
    cxLocalizer1->setFileName(Application::executableFolder() + QStringLiteral("Lang/lang_cz.ini"));
    cxLocalizer1->setActive(true);
    cxLocalizer1->setLocale(1033);
}

void TForm1::nastavitokraje()
{
    const richedit::MeasurementUnit unit = dxRichEditControl1->measurementUnit();
    float value = 0;
    if (unit == richedit::MeasurementUnit::Centimeter)
        value = 2.5f;
    else if (dxRichEditControl1->measurementUnit() == richedit::MeasurementUnit::Inch)
        value = 1.0f;
    else
        return;
    // Each margin through its own lookup, left, right, top, bottom.
    dxRichEditControl1->document()->sections().item(0).margins().setLeft(value);
    dxRichEditControl1->document()->sections().item(0).margins().setRight(value);
    dxRichEditControl1->document()->sections().item(0).margins().setTop(value);
    dxRichEditControl1->document()->sections().item(0).margins().setBottom(value);
}

// ---- date and time, plain-text paste, zoom, help

void TForm1::insertAtCaret(const QString &text)
{
    richedit::RichEditDocument *doc = dxRichEditControl1->document();
    doc->insertText(doc->caretPosition(), text);
    dxRichEditControl1->setFocus();
}

void TForm1::bVlozitDatumClick()
{
    insertAtCaret(DateTimeFormat::format(u"dd.mm.yyyy", QDateTime::currentDateTime()));
}

void TForm1::bVlozitCasClick()
{
    insertAtCaret(DateTimeFormat::format(u"hh:nn:ss", QDateTime::currentDateTime()));
}

void TForm1::bVlozitDatumCasClick()
{
    fDatumCas->exec();
}

void TForm1::bDomuSchrankaVLozitProstyTextClick()
{
    richedit::RichEditDocument *doc = dxRichEditControl1->document();
    const QString text = QGuiApplication::clipboard()->text();
    const QList<richedit::DocumentRange> ranges = doc->selections();
    for (qsizetype i = ranges.size() - 1; i >= 0; --i)
        doc->deleteRange(ranges[i]);
    doc->insertText(doc->caretPosition(), text);
}

void TForm1::bZobrazeni1Click()
{
    dxRichEditControl1->activeView()->setZoomFactor(1.0f);
}

void TForm1::bZobrazeniPravopisClick()
{
    // Checking as you type comes with the spell checker; the item stays
    // disabled until then.
}

void TForm1::BNapovedaCoJeNovehoClick()
{
    const QString path = Application::executableFolder() + QStringLiteral("novinky.txt");
    if (QFileInfo::exists(path))
        Shell::openFile(path);
    else
        MessageBoxes::plain(QStringLiteral("Soubor novinky.txt nebyl nalezen!"));
}

void TForm1::bNapovedaPrejitNaWebClick()
{
    Shell::openUrl(QUrl(homePage()));
}
