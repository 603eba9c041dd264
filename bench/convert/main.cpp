// Opens, lays out and saves the largest corpus documents and a generated
// 1000-page document, and converts each DOCX to PDF, timed against
// LibreOffice's `soffice --headless --convert-to pdf` of the same file in the
// same run (when bench/setup-libreoffice has installed it).
#include "../common/BenchDocument.h"
#include "formats/DocumentFile.h"
#include "formats/FormatRegistry.h"
#include "richedit/layout/PaginatedLayout.h"
#include "richedit/layout/PdfExport.h"
#include "richedit/model/RichEditDocument.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace richedit;

namespace {

double ms(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// LibreOffice's conversion of a file to PDF, in milliseconds; -1 without it.
double libreOfficePdf(const QString &file, const QString &outDir, const QString &profile)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return -1;
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + profile,
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("pdf"), QStringLiteral("--outdir"), outDir, file});
    if (!p.waitForFinished(180000) || p.exitCode() != 0)
        return -1;
    return ms(t);
}

QString key(const QString &fileName)
{
    QString k = QFileInfo(fileName).completeBaseName();
    k.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
    return k;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString corpus =
        qEnvironmentVariable("MARLIX_CORPUS", QStringLiteral(MARLIX_CORPUS_DIR)) +
        QStringLiteral("/docx");
    QTemporaryDir work;
    const QString profile = work.filePath(QStringLiteral("lo-profile"));

    // The five largest corpus files, and the generated long document.
    QFileInfoList files = QDir(corpus).entryInfoList({QStringLiteral("*.docx")}, QDir::Files,
                                                     QDir::Size);
    files = files.mid(0, 5);
    {
        RichEditDocument generated;
        bench::generateDocument(&generated, 1000);
        const QString path = work.filePath(QStringLiteral("generated-1000-pages.docx"));
        QString error;
        if (!formats::DocumentFile::save(path, generated, nullptr, &error)) {
            std::fprintf(stderr, "bench_convert: %s\n", qPrintable(error));
            return 1;
        }
        files.append(QFileInfo(path));
    }

    // A first LibreOffice run sets its profile up, outside the timings.
    if (!files.isEmpty())
        libreOfficePdf(files.first().absoluteFilePath(), work.path(), profile);

    double worstPdfRatio = -1;
    double worstOpenRatio = -1;
    for (const QFileInfo &info : files) {
        const QString name = key(info.fileName());
        RichEditDocument doc;
        auto *layout = new PaginatedLayout(&doc);
        QString error;
        QElapsedTimer t;
        t.start();
        if (!formats::DocumentFile::open(info.absoluteFilePath(), &doc, &error)) {
            std::fprintf(stderr, "bench_convert: %s\n", qPrintable(error));
            continue;
        }
        layout->layoutAll();
        const double openLayout = ms(t);

        t.restart();
        if (!formats::DocumentFile::save(work.filePath(name + QStringLiteral(".docx")), doc, nullptr,
                                         &error))
            std::fprintf(stderr, "bench_convert: %s\n", qPrintable(error));
        const double save = ms(t);

        // DOCX to PDF as a conversion does it: open, lay out, write.
        RichEditDocument fresh;
        auto *freshLayout = new PaginatedLayout(&fresh);
        t.restart();
        formats::DocumentFile::open(info.absoluteFilePath(), &fresh, &error);
        PdfExport::write(freshLayout, work.filePath(name + QStringLiteral(".pdf")), &error);
        const double pdf = ms(t);

        const QString loDir = work.filePath(QStringLiteral("lo"));
        QDir().mkpath(loDir);
        const double lo = libreOfficePdf(info.absoluteFilePath(), loDir, profile);

        const QByteArray prefix = "convert." + name.toUtf8();
        bench::report((prefix + ".pages").constData(), layout->laidOutPageCount(), "pages");
        bench::report((prefix + ".open_layout_ms").constData(), openLayout, "ms");
        bench::report((prefix + ".save_docx_ms").constData(), save, "ms");
        bench::report((prefix + ".docx_to_pdf_ms").constData(), pdf, "ms");
        if (lo > 0) {
            bench::report((prefix + ".libreoffice_pdf_ms").constData(), lo, "ms");
            bench::report((prefix + ".pdf_speedup").constData(), lo / pdf, "x");
            bench::report((prefix + ".open_layout_speedup").constData(), lo / openLayout, "x");
            worstPdfRatio = worstPdfRatio < 0 ? lo / pdf : std::min(worstPdfRatio, lo / pdf);
            worstOpenRatio =
                worstOpenRatio < 0 ? lo / openLayout : std::min(worstOpenRatio, lo / openLayout);
        }
    }
    if (worstPdfRatio > 0) {
        bench::report("convert.min_pdf_speedup", worstPdfRatio, "x");
        bench::report("convert.min_open_layout_speedup", worstOpenRatio, "x");
    } else {
        std::fprintf(stderr, "bench_convert: soffice not found; run bench/setup-libreoffice for "
                             "the comparison\n");
    }
    return 0;
}
