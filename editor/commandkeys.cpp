#include "editor/commandkeys.h"

#include <QSet>
#include <QStringList>

namespace {

QList<QKeySequence> OwnKeys(const CommandKeyRow& command) {
    if (command.keys == nullptr || command.keys[0] == '\0')
        return {};
    return QKeySequence::listFromString(QString::fromLatin1(command.keys), QKeySequence::PortableText);
}

} // namespace

std::vector<QList<QKeySequence>> AssignCommandKeys(const std::vector<CommandKeyRow>& commands,
                                                   const KeyBindings& bindings) {
    std::vector<QList<QKeySequence>> result;
    result.reserve(commands.size());
    QSet<QKeySequence> taken;
    for (const CommandKeyRow& command : commands) {
        result.push_back(OwnKeys(command));
        for (const QKeySequence& key : result.back())
            taken.insert(key);
    }
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].standardKey == QKeySequence::UnknownKey)
            continue;
        for (const QKeySequence& key : bindings(commands[i].standardKey)) {
            if (key.isEmpty() || result[i].contains(key) || taken.contains(key))
                continue;
            result[i].append(key);
            taken.insert(key);
        }
    }
    return result;
}

QString CommandKeyNames(const CommandKeyRow& command, const QList<QKeySequence>& assigned) {
    QList<QKeySequence> named = OwnKeys(command);
    if (named.isEmpty() && !assigned.isEmpty())
        named.append(assigned.first());
    QStringList names;
    for (const QKeySequence& key : named)
        names.append(key.toString(QKeySequence::NativeText));
    return names.join(QStringLiteral(", "));
}
