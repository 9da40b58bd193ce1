#include "server/ScoreStore.h"

#include <ctime>

#include "server/PostgresStore.h"
#include "server/SqliteStore.h"

std::unique_ptr<CScoreStore> openScoreStore(const std::string& sqliteFile,
                                            const std::string& postgresUrl, std::string& error) {
    if (!postgresUrl.empty()) {
        auto store = std::make_unique<CPostgresStore>();
        if (store->open(postgresUrl, error)) return store;
    } else {
        auto store = std::make_unique<CSqliteStore>();
        if (store->open(sqliteFile, error)) return store;
    }
    return nullptr;
}

int64_t periodStart(EPeriod period, int64_t now) {
    if (period == EPeriod::kAll) return 0;
    const std::time_t t = static_cast<std::time_t>(now);
    std::tm utc{};
    gmtime_r(&t, &utc);
    utc.tm_hour = utc.tm_min = utc.tm_sec = 0;
    if (period == EPeriod::kMonth) utc.tm_mday = 1;
    return static_cast<int64_t>(timegm(&utc));
}

std::string dateOf(int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
    return text;
}
