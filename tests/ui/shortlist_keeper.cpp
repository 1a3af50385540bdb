// One running copy of the program as the shortlist sees it: keeps `count` names of the surname
// given, one save after each, and removes the name `remove` (when given) half way. Two of these
// at once share one file in the test of the shortlist file.

#include "ui/shortlist.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: shortlist_keeper FILE SURNAME COUNT [REMOVE]\n");
        return 2;
    }
    hmf::ui::Shortlist shortlist(args[1]);
    const QString problem = shortlist.load();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    const QString digits = QStringLiteral("一二三四五六七八九十");
    const int count = args[3].toInt();
    for (int i = 0; i < count; ++i) {
        hmf::ui::ShortlistEntry entry;
        entry.surname = args[2];
        entry.givenName = QString(digits[i / 10]) + digits[i % 10];
        shortlist.add(entry);
        if (i == count / 2 && args.size() > 4) {
            const int at = shortlist.indexOf(args[4]);
            if (at < 0) {
                std::fprintf(stderr, "%s is not in the list\n", qPrintable(args[4]));
                return 1;
            }
            shortlist.remove(at);
        }
        QString error;
        if (!shortlist.save(&error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
