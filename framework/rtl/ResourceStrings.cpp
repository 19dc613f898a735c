#include "framework/rtl/ResourceStrings.h"

#include <map>
#include <mutex>

namespace {

struct Table {
    std::mutex mutex;
    std::map<int, String> strings;
};

Table& TheTable() {
    static Table table;
    return table;
}

}  // namespace

void RegisterResourceStrings(std::initializer_list<std::pair<int, const wchar_t*>> strings) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (const auto& [id, text] : strings) table.strings[id] = text ? text : L"";
}

String LoadResString(int id) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.strings.find(id);
    return it == table.strings.end() ? String() : it->second;
}
