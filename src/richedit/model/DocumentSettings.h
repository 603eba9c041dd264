#pragma once

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QString>

namespace richedit {

enum class ProtectionType
{
    None,
    ReadOnly,
    Comments,
    TrackedChanges,
    Forms
};

// Document protection as Word stores it: the kind of protection and the
// hashed password that lifts it.
struct ProtectionSettings
{
    bool enforced = false;
    ProtectionType type = ProtectionType::None;
    QString algorithm; // "SHA-512", ... (empty: no password)
    QByteArray hash;
    QByteArray salt;
    int spinCount = 0;
    bool operator==(const ProtectionSettings &) const = default;
};

struct EncryptionSettings
{
    QString password; // empty: the file is saved unencrypted
    bool operator==(const EncryptionSettings &) const = default;
};

struct DocumentProperties
{
    QString title;
    QString subject;
    QString creator;
    QString keywords;
    QString description;
    QString lastModifiedBy;
    QString revision;
    QDateTime created;
    QDateTime modified;
    bool operator==(const DocumentProperties &) const = default;
};

struct DocumentSettings
{
    QColor pageColor; // invalid: no page colour
    bool evenAndOddHeaders = false;
    int defaultTabStop = 720; // twips
    ProtectionSettings protection;
    EncryptionSettings encryption;
    DocumentProperties properties;
    bool operator==(const DocumentSettings &) const = default;
};

} // namespace richedit
