#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

class TfDatumCas;
extern TfDatumCas *fDatumCas;

// The date and time dialog: thirteen texts of the moment it was created, one
// of which "Ok" inserts at the editor's caret.
class TfDatumCas : public QDialog
{
    Q_OBJECT
public:
    explicit TfDatumCas(QWidget *parent = nullptr);
    ~TfDatumCas() override;

    QPushButton *bVlozit = nullptr;
    QPushButton *bStorno = nullptr;
    QListWidget *lbCas = nullptr;

    void FormCreate();
    void bVlozitClick();
    void bStornoClick();

    // The patterns of the list's lines, in order.
    static const QStringList &patterns();

protected:
    void showEvent(QShowEvent *event) override;
};
