#pragma once

#include <QString>

namespace richedit {

enum class FieldType
{
    Unknown,
    Page,
    NumPages,
    Toc,
    Seq,
    PageRef,
    Hyperlink
};

// A field: its instruction (" PAGE \* MERGEFORMAT ") and parsed type. The
// result is ordinary text in the story whose characters carry the field's id.
struct Field
{
    int id = 0;
    QString instruction;
    FieldType type = FieldType::Unknown;
    bool locked = false;
    bool simple = false; // written as a simple field when it came as one

    // The field's first argument: the bookmark of PAGEREF, the identifier of
    // SEQ, the target of HYPERLINK.
    QString argument() const;
    // The value of a switch such as \o or \l, empty when absent.
    QString switchValue(QChar name) const;
    bool hasSwitch(QChar name) const;

    static FieldType parseType(const QString &instruction);
};

} // namespace richedit
