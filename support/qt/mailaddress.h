#pragma once
// Mail addresses handed to the desktop's mail program. A mailto address may ask the mail program to
// attach a file ("?attach=/etc/passwd"), which an assistant must not be able to do behind the user's
// back.
#include <QUrl>

// The address without its "attach" and "attachment" query parameters (names compared without regard to
// letter case, after percent-decoding); every other part, and the order and spelling of the other
// parameters, stay exactly as they were. Addresses of other schemes are returned unchanged.
QUrl WithoutMailAttachments(const QUrl& url);
