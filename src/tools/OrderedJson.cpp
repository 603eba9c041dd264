#include "OrderedJson.h"

OrderedJson OrderedJson::null()
{
    return {};
}

OrderedJson OrderedJson::boolean(bool value)
{
    OrderedJson json;
    json.m_type = Type::Bool;
    json.m_bool = value;
    return json;
}

OrderedJson OrderedJson::number(double value)
{
    OrderedJson json;
    json.m_type = Type::Number;
    json.m_number = value;
    return json;
}

OrderedJson OrderedJson::string(const QString &value)
{
    OrderedJson json;
    json.m_type = Type::String;
    json.m_string = value;
    return json;
}

OrderedJson OrderedJson::optionalString(const std::optional<QString> &value)
{
    return value ? string(*value) : null();
}

OrderedJson OrderedJson::array()
{
    OrderedJson json;
    json.m_type = Type::Array;
    return json;
}

OrderedJson OrderedJson::object()
{
    OrderedJson json;
    json.m_type = Type::Object;
    return json;
}

OrderedJson &OrderedJson::append(OrderedJson value)
{
    m_elements << std::move(value);
    return *this;
}

OrderedJson &OrderedJson::insert(const QString &key, OrderedJson value)
{
    m_keys << key;
    m_elements << std::move(value);
    return *this;
}

QString OrderedJson::toText() const
{
    QString out;
    write(out, 0);
    out += QLatin1Char('\n');
    return out;
}

QString OrderedJson::quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

void OrderedJson::write(QString &out, int indent) const
{
    const QString inner(indent + 2, QLatin1Char(' '));
    switch (m_type) {
    case Type::Null:
        out += QLatin1String("null");
        return;
    case Type::Bool:
        out += m_bool ? QLatin1String("true") : QLatin1String("false");
        return;
    case Type::Number:
        out += QString::number(m_number, 'g', 17);
        return;
    case Type::String:
        out += quoted(m_string);
        return;
    case Type::Array:
    case Type::Object:
        break;
    }
    const bool isObject = m_type == Type::Object;
    if (m_elements.isEmpty()) {
        out += isObject ? QLatin1String("{}") : QLatin1String("[]");
        return;
    }
    out += isObject ? QLatin1String("{\n") : QLatin1String("[\n");
    for (qsizetype i = 0; i < m_elements.size(); ++i) {
        out += inner;
        if (isObject)
            out += quoted(m_keys.at(i)) + QLatin1String(": ");
        m_elements.at(i).write(out, indent + 2);
        out += i + 1 < m_elements.size() ? QLatin1String(",\n") : QLatin1String("\n");
    }
    out += QString(indent, QLatin1Char(' '));
    out += isObject ? QLatin1Char('}') : QLatin1Char(']');
}
