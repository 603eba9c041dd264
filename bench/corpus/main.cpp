// Opens every file of the shared DOCX corpus and compares the result with
// LibreOffice's (the oracle beside the corpus): did it open or fail with a
// clear error, how similar is our plain-text export to LibreOffice's, and how
// close is our page count; whether a save as .docx and a reopen keep our
// text; and, when LibreOffice is installed (bench/setup-libreoffice), whether
// LibreOffice opens our saved copies with the text it read from the
// originals. Prints the summary as JSON lines and one line per file on stderr.
#include "../common/BenchDocument.h"
#include "formats/DocumentFile.h"
#include "formats/PlainTextExport.h"
#include "richedit/layout/ListNumbering.h"
#include "richedit/layout/PaginatedLayout.h"
#include "richedit/model/RichEditDocument.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

using namespace richedit;

namespace {

// Word-multiset similarity: twice the shared words over all words. It
// ignores line breaks and order, which the two exports lay out differently
// for tables and text boxes, and stays linear on the corpus's largest files.
double similarity(const QString &a, const QString &b)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QStringList wa = a.split(space, Qt::SkipEmptyParts);
    const QStringList wb = b.split(space, Qt::SkipEmptyParts);
    if (wa.isEmpty() && wb.isEmpty())
        return 1.0;
    QHash<QString, int> counts;
    for (const QString &w : wa)
        ++counts[w];
    qsizetype shared = 0;
    for (const QString &w : wb) {
        auto it = counts.find(w);
        if (it != counts.end() && *it > 0) {
            --*it;
            ++shared;
        }
    }
    return 2.0 * double(shared) / double(wa.size() + wb.size());
}

QHash<QString, int> oraclePages(const QString &corpus)
{
    QHash<QString, int> pages;
    QFile file(corpus + QStringLiteral("/oracle/pages.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return pages;
    file.readLine();
    while (!file.atEnd()) {
        const QStringList cols = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        if (cols.size() >= 4 && cols[3] == QLatin1String("ok"))
            pages.insert(cols[0], cols[1].toInt());
    }
    return pages;
}

// Our plain-text export with list labels, what marlix-convert --text prints.
QString exportText(const RichEditDocument &doc)
{
    ListNumbering numbering(&doc);
    return formats::PlainTextExport::text(
        doc, [&numbering](const QTextBlock &b) { return numbering.label(b) + u' '; });
}

// A text file without its byte order mark; nothing when it is not there.
std::optional<QString> readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString corpus = qEnvironmentVariable("MARLIX_CORPUS", QStringLiteral(MARLIX_CORPUS_DIR));
    const QStringList files =
        QDir(corpus + QStringLiteral("/docx")).entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "bench_corpus: no corpus in %s\n", qPrintable(corpus));
        return 1;
    }
    const QHash<QString, int> loPages = oraclePages(corpus);
    int opened = 0, clearErrors = 0, compared = 0, similar = 0, paged = 0, pagesEqual = 0,
        pagesNear = 0, roundTripSame = 0;
    double openMs = 0, saveMs = 0;
    QTemporaryDir scratch;
    QDir(scratch.path()).mkpath(QStringLiteral("saved"));
    QStringList savedCopies;           // for LibreOffice, which converts them all in one run
    QHash<QString, QString> originals; // saved copy -> corpus file
    for (const QString &name : files) {
        RichEditDocument doc;
        auto *layout = new PaginatedLayout(&doc);
        QString error;
        QElapsedTimer timer;
        timer.start();
        const bool ok =
            formats::DocumentFile::open(corpus + QStringLiteral("/docx/") + name, &doc, &error);
        openMs += double(timer.nsecsElapsed()) / 1e6;
        if (!ok) {
            // A clear error names the file and says what is wrong.
            if (error.contains(name) && error.size() > name.size() + 20)
                ++clearErrors;
            std::fprintf(stderr, "%s\terror\t%s\n", qPrintable(name), qPrintable(error));
            continue;
        }
        ++opened;
        QString line = name;
        const std::optional<QString> expected =
            readText(corpus + QStringLiteral("/oracle/") + name + QStringLiteral(".txt"));
        if (expected) {
            const QString ours = exportText(doc);
            const double s = similarity(ours, *expected);
            ++compared;
            similar += s >= 0.98;
            line += QStringLiteral("\tsimilarity %1").arg(s, 0, 'f', 3);
        }
        if (loPages.contains(name)) {
            layout->layoutAll();
            const int ourPages = layout->laidOutPageCount();
            const int theirs = loPages.value(name);
            ++paged;
            pagesEqual += ourPages == theirs;
            pagesNear += qAbs(ourPages - theirs) <= 1;
            line += QStringLiteral("\tpages %1/%2").arg(ourPages).arg(theirs);
        }
        const QString copy =
            scratch.filePath(QStringLiteral("saved/") + QFileInfo(name).completeBaseName() +
                             QStringLiteral(".docx"));
        timer.restart();
        const bool saved = formats::DocumentFile::save(copy, doc, nullptr, &error);
        saveMs += double(timer.nsecsElapsed()) / 1e6;
        RichEditDocument reopened;
        if (!saved || !formats::DocumentFile::open(copy, &reopened, &error))
            line += QStringLiteral("\troundtrip failed: ") + error;
        else if (exportText(reopened) == exportText(doc))
            ++roundTripSame;
        else
            line += QStringLiteral("\troundtrip text differs");
        if (saved) {
            savedCopies.append(copy);
            originals.insert(copy, name);
        }
        std::fprintf(stderr, "%s\n", qPrintable(line));
    }
    // LibreOffice reads our copies: one process for all of them, as its
    // start-up costs about a second.
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    int loOpened = 0, loCompared = 0, loSame = 0;
    double loMs = 0;
    if (!soffice.isEmpty() && !savedCopies.isEmpty()) {
        const QString out = scratch.filePath(QStringLiteral("lo-text"));
        QStringList args = {QStringLiteral("-env:UserInstallation=file://") +
                                scratch.filePath(QStringLiteral("lo")),
                            QStringLiteral("--headless"),
                            QStringLiteral("--norestore"),
                            QStringLiteral("--nolockcheck"),
                            QStringLiteral("--nodefault"),
                            QStringLiteral("--convert-to"),
                            QStringLiteral("txt:Text (encoded):UTF8"),
                            QStringLiteral("--outdir"),
                            out};
        args += savedCopies;
        QElapsedTimer timer;
        timer.start();
        QProcess lo;
        lo.start(soffice, args);
        lo.waitForFinished(30 * 60 * 1000);
        loMs = double(timer.nsecsElapsed()) / 1e6;
        for (const QString &copy : std::as_const(savedCopies)) {
            const QString name = originals.value(copy);
            const std::optional<QString> theirs =
                readText(out + u'/' + QFileInfo(copy).completeBaseName() + QStringLiteral(".txt"));
            if (!theirs) {
                std::fprintf(stderr, "%s\tLibreOffice did not open our copy\n", qPrintable(name));
                continue;
            }
            ++loOpened;
            const std::optional<QString> expected =
                readText(corpus + QStringLiteral("/oracle/") + name + QStringLiteral(".txt"));
            if (!expected)
                continue;
            ++loCompared;
            const double s = similarity(*theirs, *expected);
            if (s >= 0.98)
                ++loSame;
            else
                std::fprintf(stderr, "%s\tLibreOffice text of our copy: similarity %.3f\n",
                             qPrintable(name), s);
        }
    } else {
        std::fprintf(stderr, "bench_corpus: no soffice; the LibreOffice round trip is skipped\n");
    }

    const double total = double(files.size());
    bench::report("corpus.files", total, "files");
    bench::report("corpus.opened_pct", 100.0 * opened / total, "%");
    bench::report("corpus.opened_or_clear_error_pct", 100.0 * (opened + clearErrors) / total, "%");
    bench::report("corpus.text_similarity_ge_0.98_pct", compared ? 100.0 * similar / compared : 0,
                  "%");
    bench::report("corpus.pages_equal_pct", paged ? 100.0 * pagesEqual / paged : 0, "%");
    bench::report("corpus.pages_within_one_pct", paged ? 100.0 * pagesNear / paged : 0, "%");
    bench::report("corpus.open_total_ms", openMs, "ms");
    bench::report("corpus.roundtrip_same_text_pct", opened ? 100.0 * roundTripSame / opened : 0,
                  "%");
    bench::report("corpus.save_total_ms", saveMs, "ms");
    if (!soffice.isEmpty()) {
        bench::report("corpus.lo_opens_our_copy_pct",
                      savedCopies.isEmpty() ? 0 : 100.0 * loOpened / savedCopies.size(), "%");
        bench::report("corpus.lo_roundtrip_same_text_pct",
                      loCompared ? 100.0 * loSame / loCompared : 0, "%");
        bench::report("corpus.lo_roundtrip_ms", loMs, "ms");
    }
    return 0;
}
