#include "fDatumACas.h"

#include "Unit1.h"
#include "platform/DateTimeFormat.h"
#include "platform/ErrorReport.h"
#include "platform/Exception.h"
#include "richedit/view/RichEditControl.h"

#include <QDateTime>
#include <QListWidget>
#include <QPushButton>

TfDatumCas *fDatumCas = nullptr;

TfDatumCas::TfDatumCas(QWidget *parent) : QDialog(parent)
{
    // The program-wide reference exists before any component does.
    fDatumCas = this;
    setWindowTitle(QStringLiteral("Datum a čas"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    resize(258, 308);
    QFont font(QStringLiteral("Segoe UI"));
    font.setPointSize(9);
    setFont(font);

    // Created in tab order: Ok, Storno, the list.
    bVlozit = new QPushButton(QStringLiteral("Ok"), this);
    bVlozit->setGeometry(174, 272, 75, 25);
    bVlozit->setDefault(true);
    bVlozit->setAutoDefault(true);
    bStorno = new QPushButton(QStringLiteral("Storno"), this);
    bStorno->setGeometry(8, 272, 75, 25);
    lbCas = new QListWidget(this);
    lbCas->setGeometry(8, 8, 241, 241);
    lbCas->setSelectionMode(QAbstractItemView::SingleSelection);
    lbCas->setSortingEnabled(false);
    setTabOrder(bVlozit, bStorno);
    setTabOrder(bStorno, lbCas);
    connect(bVlozit, &QPushButton::clicked, this, [this] {
        try {
            bVlozitClick();
        } catch (const std::exception &e) {
            ErrorReport::show(e);
        }
    });
    connect(bStorno, &QPushButton::clicked, this, &TfDatumCas::bStornoClick);

    try {
        FormCreate();
    } catch (const std::exception &e) {
        ErrorReport::show(e);
    }
}

TfDatumCas::~TfDatumCas()
{
    if (fDatumCas == this)
        fDatumCas = nullptr;
}

const QStringList &TfDatumCas::patterns()
{
    static const QStringList list{
        QStringLiteral("yyyy-mm-dd"),
        QStringLiteral("yyyy-m-d"),
        QStringLiteral("yyyy \"rok\" mm \"měsíc\" dd \"den\""),
        QStringLiteral("yyyy \"rok\" mm \"měsíc\" dd \"den\" ddd"),
        QStringLiteral("yyyy \"rok\" mm \"měsíc\" dd \"den\" dddd"),
        QStringLiteral("yyyy, mmm, dd, ddd"),
        QStringLiteral("hh-mm-ss"),
        QStringLiteral("yyyy, mmm, dd, dddd"),
        QStringLiteral("yyyy-mm-dd h:n:s a/p"),
        QStringLiteral("mm-dd-yyyy"),
        QStringLiteral("m-d-yyyy"),
        QStringLiteral("mmm, dd, yyyy"),
        QStringLiteral("mmmm, d, yyyy"),
    };
    return list;
}

void TfDatumCas::FormCreate()
{
    Form1->PrelozDoAnglictiny();
    for (const QString &pattern : patterns())
        lbCas->addItem(DateTimeFormat::format(pattern, QDateTime::currentDateTime()));
}

void TfDatumCas::bVlozitClick()
{
    const int index = lbCas->currentRow();
    if (index < 0 || index >= lbCas->count())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    const QString text = lbCas->item(index)->text();
    richedit::RichEditDocument *doc = Form1->dxRichEditControl1->document();
    doc->insertText(doc->caretPosition(), text);
    hide();
    setResult(QDialog::Accepted);
    Form1->dxRichEditControl1->setFocus();
}

void TfDatumCas::bStornoClick()
{
    reject();
}

void TfDatumCas::showEvent(QShowEvent *event)
{
    // Centred over the main window each time it opens.
    if (Form1) {
        const QRect main = Form1->frameGeometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}
