#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <memory>
#include <optional>

// A JSON value whose objects keep their keys in the order they were added, written with
// two-space indentation (QJsonObject sorts its keys).
class OrderedJson
{
public:
    static OrderedJson null();
    static OrderedJson boolean(bool value);
    static OrderedJson number(double value);
    static OrderedJson string(const QString &value);
    static OrderedJson optionalString(const std::optional<QString> &value);
    static OrderedJson array();
    static OrderedJson object();

    // For arrays.
    OrderedJson &append(OrderedJson value);
    // For objects.
    OrderedJson &insert(const QString &key, OrderedJson value);

    QString toText() const;

private:
    enum class Type
    {
        Null,
        Bool,
        Number,
        String,
        Array,
        Object,
    };

    void write(QString &out, int indent) const;
    static QString quoted(const QString &text);

    Type m_type = Type::Null;
    bool m_bool = false;
    double m_number = 0;
    QString m_string;
    QList<OrderedJson> m_elements;
    QList<QString> m_keys;
};
