#pragma once

#include "platform/IniDocument.h"

#include <QObject>
#include <QString>

// The components' own texts (command captions and descriptions, dialog labels, ...) in the
// user's language, taken from an INI file while the localizer is active.
//
// The file holds one section per language, named by the language's Windows locale
// identifier (LCID) in decimal: "[1033]" for English (United States), "[1029]" for Czech.
// Each key is the name under which a component asks for a text; its value is the text. The
// file is read with the private-profile rules of IniDocument (UTF-8 or UTF-16 with a mark).
//
//     [1029]
//     ToggleFontBold.Caption=Tučné
//     [1033]
//     ToggleFontBold.Caption=Bold
//
// Switching Active on reads the whole file once and releases it; the texts stay in memory
// until the localizer is switched off or pointed at another file. A key missing from the
// locale's section, a missing section, or an inactive localizer gives the English text the
// component passes along. changed() tells components to read their texts again.
class Localizer : public QObject
{
    Q_OBJECT

public:
    // The first localizer created becomes current() until it is destroyed.
    explicit Localizer(QObject *parent = nullptr);
    ~Localizer() override;

    const QString &fileName() const { return m_fileName; }
    // While active, reads the new file at once; throws Exception as setActive does, and then
    // changes nothing.
    void setFileName(const QString &fileName);

    bool isActive() const { return m_active; }
    // Switching on reads fileName(). When it cannot be opened, throws Exception with the text
    // "Cannot open file "<path>". <the system's reason>" and stays inactive.
    void setActive(bool active);

    // 0 (the start value) selects no section.
    int locale() const { return m_locale; }
    void setLocale(int lcid);

    QString text(const QString &key, const QString &englishText) const;

    static Localizer *current();
    // current()'s text, or englishText while there is no localizer.
    static QString translate(const QString &key, const QString &englishText);

signals:
    void changed();

private:
    static IniDocument read(const QString &fileName);

    QString m_fileName;
    bool m_active = false;
    int m_locale = 0;
    IniDocument m_texts;
};
