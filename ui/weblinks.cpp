#include "ui/weblinks.h"

#include <QDesktopServices>

namespace hmf::ui {

const std::array<WebLink, 5>& webLinks()
{
    static const std::array<WebLink, 5> links = {{
        // 汉典: a free dictionary of characters with readings, strokes and meanings.
        {"超级按钮1", "新华字典", "https://www.zdic.net/", QColor(192, 57, 43)},
        // 古诗文网: the classic poems, with notes and translations.
        {"超级按钮4", "经典诗词", "https://www.gushiwen.cn/", QColor(142, 92, 48)},
        // PBS KIDS: games for young children from the American public broadcaster.
        {"超级按钮5", "儿童游戏", "https://pbskids.org/games", QColor(41, 128, 185)},
        // The World Health Organization's page on child health.
        {"超级按钮3", "儿童健康", "https://www.who.int/health-topics/child-health",
         QColor(39, 174, 96)},
        // CCTV's children's channel, home of its children's songs.
        {"超级按钮2", "经典儿歌", "https://tv.cctv.com/cctv14/", QColor(155, 89, 182)},
    }};
    return links;
}

bool openWebPage(const QUrl& address)
{
    return QDesktopServices::openUrl(address);
}

} // namespace hmf::ui
