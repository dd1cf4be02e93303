#include "SceneryList.h"

#include "ConfigText.h"
#include "IniReader.h"

#include <algorithm>
#include <climits>

namespace {

// A whole number of at most nine digits, so that it cannot overflow.
std::optional<int> number(QByteArrayView digits)
{
    while (digits.size() > 1 && digits.front() == '0')
        digits = digits.sliced(1);
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    int result = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        result = result * 10 + (c - '0');
    }
    return result;
}

std::optional<int> areaNumber(QByteArrayView sectionName)
{
    constexpr qsizetype prefixSize = 5;
    if (sectionName.size() <= prefixSize || !sameName(sectionName.first(prefixSize), "area."))
        return std::nullopt;
    return number(sectionName.sliced(prefixSize));
}

void setText(QString& field, int& fieldLine, const IniLine& line)
{
    field = decodeConfigText(unquoted(line.value));
    fieldLine = line.number;
}

// TRUE and FALSE in any letter case; any other value leaves the default.
void setFlag(bool& field, int& fieldLine, const IniLine& line)
{
    const QByteArrayView value = unquoted(line.value);
    if (sameName(value, "true"))
        field = true;
    else if (sameName(value, "false"))
        field = false;
    fieldLine = line.number;
}

void addKey(SceneryArea& area, const IniLine& line)
{
    // The first of a doubled key counts: a key already seen has its line set.
    const QByteArrayView name = line.name;
    if (sameName(name, "title")) {
        if (area.titleLine == 0)
            setText(area.title, area.titleLine, line);
    } else if (sameName(name, "local")) {
        if (area.localLine == 0)
            setText(area.local, area.localLine, line);
    } else if (sameName(name, "layer")) {
        if (area.layerLine == 0) {
            area.layer = number(unquoted(line.value));
            area.layerLine = line.number;
        }
    } else if (sameName(name, "active")) {
        if (area.activeLine == 0)
            setFlag(area.active, area.activeLine, line);
    } else if (sameName(name, "remote")) {
        if (area.remoteLine == 0)
            setText(area.remote, area.remoteLine, line);
    } else if (sameName(name, "required")) {
        if (area.requiredLine == 0)
            setFlag(area.required, area.requiredLine, line);
    }
}

enum class Place
{
    BeforeSections,
    General,
    Area,
    Other
};

} // namespace

bool readSceneryList(QIODevice& device, SceneryList* list, QString* error)
{
    *list = {};
    IniReader reader(device);
    IniLine line;
    Place place = Place::BeforeSections;
    QString sectionName;
    while (reader.next(line)) {
        switch (line.kind) {
        case IniLine::Kind::Blank:
        case IniLine::Kind::Comment:
            break;
        case IniLine::Kind::Section:
            sectionName = decodeConfigText(line.name);
            if (const auto areaNo = areaNumber(line.name)) {
                place = Place::Area;
                SceneryArea& area = list->areas.emplace_back();
                area.section = sectionName;
                area.number = *areaNo;
                area.line = line.number;
            } else if (sameName(line.name, "general")) {
                place = Place::General;
                if (list->general.line == 0)
                    list->general = {sectionName, line.number, {}};
            } else {
                place = Place::Other;
                list->otherSections.append({sectionName, line.number});
            }
            break;
        case IniLine::Kind::Key:
            if (place == Place::Area)
                addKey(list->areas.last(), line);
            else if (place == Place::General)
                list->general.keys.append({decodeConfigText(line.name),
                                           decodeConfigText(unquoted(line.value)), line.number});
            else if (place == Place::BeforeSections)
                list->strayLines.append({decodeConfigText(line.text), line.number, {}});
            break;
        case IniLine::Kind::Other:
            list->strayLines.append({decodeConfigText(line.text), line.number, sectionName});
            break;
        }
    }
    // The simulator writes its list in the order of layers; only a list edited by hand is sorted.
    const auto byLayer = [](const SceneryArea& a, const SceneryArea& b) {
        return a.layer.value_or(INT_MAX) < b.layer.value_or(INT_MAX);
    };
    if (!std::is_sorted(list->areas.begin(), list->areas.end(), byLayer))
        std::stable_sort(list->areas.begin(), list->areas.end(), byLayer);
    *error = reader.error();
    return error->isEmpty();
}

bool readSceneryList(const QString& path, SceneryList* list, QString* error)
{
    return readFileWith<SceneryList>(readSceneryList, path, list, error);
}
