#include "support/qt/mailaddress.h"

#include <QStringList>

QUrl WithoutMailAttachments(const QUrl& url) {
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) != 0 || !url.hasQuery())
        return url;
    // The query is taken apart in its encoded form, so the parameters that stay are put back byte for
    // byte; only the names are decoded for the comparison ("%61ttach" is "attach" to a mail program).
    const QStringList parameters = url.query(QUrl::FullyEncoded).split(QLatin1Char('&'));
    QStringList kept;
    for (const QString& parameter : parameters) {
        const QString name =
            QUrl::fromPercentEncoding(parameter.section(QLatin1Char('='), 0, 0).toUtf8()).trimmed();
        if (name.compare(QLatin1String("attach"), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String("attachment"), Qt::CaseInsensitive) == 0)
            continue;
        kept << parameter;
    }
    if (kept.size() == parameters.size())
        return url;
    QUrl cleaned = url;
    if (kept.isEmpty())
        cleaned.setQuery(QString());
    else
        cleaned.setQuery(kept.join(QLatin1Char('&')), QUrl::StrictMode);
    return cleaned;
}
