// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/designfile.h"

#include "base/apperror.h"
#include "base/safefile.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <iterator>

namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kMaxDesignBytes = 1 << 20;
constexpr int kLowestClass = 1, kHighestClass = 11;

// The refusal of one value: the file, where in it, and what is wrong.
[[noreturn]] void Refuse(const std::string& file, const std::string& key, const std::string& what)
{
    throw AppError("設計ファイル " + file + " の " + key + " " + what);
}

const char* MateWord(MateKind kind) { return MateKindKey(kind); }

// Reads one design's values, naming each key it refuses.
class Reader {
public:
    explicit Reader(std::string file) : m_file(std::move(file)) {}

    const Json& Member(const Json& object, const std::string& path, const char* key) const
    {
        const auto it = object.find(key);
        if (it == object.end())
            Refuse(m_file, path + key, "がありません");
        return *it;
    }
    double Number(const Json& value, const std::string& key) const
    {
        if (!value.is_number())
            Refuse(m_file, key, "が数ではありません");
        const double v = value.get<double>();
        if (!std::isfinite(v))
            Refuse(m_file, key, "が有限の数ではありません");
        return v;
    }
    double Positive(const Json& value, const std::string& key) const
    {
        const double v = Number(value, key);
        if (!(v > 0))
            Refuse(m_file, key, "が正の数ではありません");
        return v;
    }
    std::int64_t Integer(const Json& value, const std::string& key, std::int64_t low, std::int64_t high) const
    {
        if (!value.is_number_integer())
            Refuse(m_file, key, "が整数ではありません");
        const std::int64_t v = value.get<std::int64_t>();
        if (v < low || v > high)
            Refuse(m_file, key, "が " + std::to_string(low) + " から " + std::to_string(high) + " の間にありません");
        return v;
    }
    ThicknessAllowance Allowance(const Json& value, const std::string& key) const
    {
        if (!value.is_object())
            Refuse(m_file, key, "が {\"upper\": 数, \"lower\": 数} ではありません");
        ThicknessAllowance a;
        a.upper = Number(Member(value, key + ".", "upper"), key + ".upper");
        a.lower = Number(Member(value, key + ".", "lower"), key + ".lower");
        if (a.upper < a.lower)
            Refuse(m_file, key, "の upper が lower より小さくなっています");
        return a;
    }
    // The keys of `object` other than `known`, as a JSON object's text (empty: none).
    static std::string Unknown(const Json& object, std::initializer_list<const char*> known)
    {
        Json rest = Json::object();
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool isKnown = false;
            for (const char* k : known)
                isKnown = isKnown || it.key() == k;
            if (!isKnown)
                rest[it.key()] = it.value();
        }
        return rest.empty() ? std::string() : rest.dump();
    }

    GearDesign Gear(const Json& value, const std::string& key, bool helical) const
    {
        if (!value.is_object())
            Refuse(m_file, key, "がオブジェクトではありません");
        GearDesign g;
        const std::string at = key + ".";
        g.teeth = static_cast<std::int32_t>(Integer(Member(value, at, "teeth"), at + "teeth", 1, 100000));
        g.shift = Number(Member(value, at, "shift"), at + "shift");
        if (value.contains("thickness_allowance"))
            g.allowance = Allowance(value.at("thickness_allowance"), at + "thickness_allowance");
        if (value.contains("accuracy_class") && !value.at("accuracy_class").is_null())
            g.accuracyClass = static_cast<int>(
                Integer(value.at("accuracy_class"), at + "accuracy_class", kLowestClass, kHighestClass));
        if (value.contains("face_width") && !value.at("face_width").is_null())
            g.faceWidth = Positive(value.at("face_width"), at + "face_width");
        if (value.contains("rows")) {
            const Json& rows = value.at("rows");
            if (!rows.is_object())
                Refuse(m_file, at + "rows", "が {\"名前\": \"文字列\", ...} ではありません");
            for (auto it = rows.begin(); it != rows.end(); ++it) {
                if (!it.value().is_string())
                    Refuse(m_file, at + "rows." + it.key(), "が文字列ではありません");
                g.rows.emplace_back(it.key(), it.value().get<std::string>());
            }
        }
        if (helical) {
            const Json& hand = Member(value, at, "hand");
            if (hand == "right")
                g.hand = Hand::Right;
            else if (hand == "left")
                g.hand = Hand::Left;
            else
                Refuse(m_file, at + "hand", "が \"right\"、\"left\" のどちらでもありません");
        }
        // A spur pair's "hand" is nobody's: it is kept as an unknown key.
        g.unknownKeys = helical ? Unknown(value, {"teeth", "shift", "thickness_allowance", "accuracy_class",
                                                  "face_width", "rows", "hand"})
                                : Unknown(value, {"teeth", "shift", "thickness_allowance", "accuracy_class",
                                                  "face_width", "rows"});
        return g;
    }

private:
    std::string m_file;
};

Json AllowanceJson(const ThicknessAllowance& a) { return Json{{"upper", a.upper}, {"lower", a.lower}}; }

// The unknown keys kept from a file read before, after the known ones.
void Append(Json& object, const std::string& unknownKeys)
{
    if (unknownKeys.empty())
        return;
    const Json rest = Json::parse(unknownKeys, nullptr, false);
    if (!rest.is_object())
        return;
    for (auto it = rest.begin(); it != rest.end(); ++it)
        if (!object.contains(it.key()))
            object[it.key()] = it.value();
}

}  // namespace

std::string DesignFileText(const PairDesign& d)
{
    Json j;
    j["format"] = kDesignFormat;
    const bool helical = d.helixAngle != 0.0;
    j["version"] = helical ? kDesignVersion : kSpurDesignVersion;
    j["module"] = d.module;
    j["pressure_angle"] = d.pressureAngle;
    j["mate"] = MateWord(d.mate);
    if (helical)
        j["helix_angle"] = d.helixAngle;
    Json gears = Json::array();
    for (const GearDesign& g : d.gears) {
        Json gear;
        gear["teeth"] = g.teeth;
        gear["shift"] = g.shift;
        if (helical)
            gear["hand"] = g.hand == Hand::Left ? "left" : "right";
        gear["thickness_allowance"] = AllowanceJson(g.allowance);
        gear["accuracy_class"] = g.accuracyClass ? Json(*g.accuracyClass) : Json(nullptr);
        gear["face_width"] = g.faceWidth ? Json(*g.faceWidth) : Json(nullptr);
        Json rows = Json::object();
        for (const auto& [name, text] : g.rows)
            rows[name] = text;
        gear["rows"] = rows;
        Append(gear, g.unknownKeys);
        gears.push_back(gear);
    }
    j["gears"] = gears;
    j["center_distance"] = d.centerDistance ? Json(*d.centerDistance) : Json(nullptr);
    j["center_distance_allowance"] = AllowanceJson(d.centerDistanceAllowance);
    Append(j, d.unknownKeys);
    return j.dump(2) + "\n";
}

PairDesign ParseDesignFile(const std::string& text, const std::string& file)
{
    Json j;
    try {
        j = Json::parse(text);
    } catch (const Json::parse_error& e) {
        throw AppError("設計ファイル " + file + " は JSON として読めません（" + std::to_string(e.byte) +
                       " バイト目）");
    }
    if (!j.is_object() || !j.contains("format") || j.at("format") != kDesignFormat)
        throw AppError("ファイル " + file + " はツムギの設計ファイルではありません（format が \"" +
                       std::string(kDesignFormat) + "\" ではありません）");
    const Reader r(file);
    const std::int64_t version = r.Integer(r.Member(j, "", "version"), "version", 1, 1000000);
    if (version > kDesignVersion)
        throw AppError("設計ファイル " + file + " は新しい版（version " + std::to_string(version) +
                       "）です。この版のツムギが読めるのは version " + std::to_string(kDesignVersion) + " までです");
    PairDesign d;
    d.module = r.Positive(r.Member(j, "", "module"), "module");
    d.pressureAngle = r.Number(r.Member(j, "", "pressure_angle"), "pressure_angle");
    if (d.pressureAngle != 20.0 && d.pressureAngle != 14.5)
        Refuse(file, "pressure_angle", "が 20 でも 14.5 でもありません");
    const Json& mate = r.Member(j, "", "mate");
    if (mate == "external")
        d.mate = MateKind::External;
    else if (mate == "internal")
        d.mate = MateKind::Internal;
    else if (mate == "rack")
        d.mate = MateKind::Rack;
    else
        Refuse(file, "mate", "が \"external\"、\"internal\"、\"rack\" のどれでもありません");
    if (j.contains("helix_angle")) {
        d.helixAngle = r.Number(j.at("helix_angle"), "helix_angle");
        if (!(d.helixAngle >= 0 && d.helixAngle < 90))
            Refuse(file, "helix_angle", "が 0 以上 90 未満ではありません");
        if (d.helixAngle != 0.0 && d.mate != MateKind::External)
            Refuse(file, "helix_angle", "は外歯車どうしの組にだけ書けます");
    }
    const Json& gears = r.Member(j, "", "gears");
    if (!gears.is_array() || gears.size() != 2)
        Refuse(file, "gears", "が二つの歯車の配列ではありません");
    for (std::size_t i = 0; i < 2; ++i)
        d.gears[i] = r.Gear(gears.at(i), "gears[" + std::to_string(i) + "]", d.helixAngle != 0.0);
    if (j.contains("center_distance") && !j.at("center_distance").is_null())
        d.centerDistance = r.Positive(j.at("center_distance"), "center_distance");
    if (j.contains("center_distance_allowance"))
        d.centerDistanceAllowance = r.Allowance(j.at("center_distance_allowance"), "center_distance_allowance");
    d.unknownKeys = Reader::Unknown(j, {"format", "version", "module", "pressure_angle", "mate", "helix_angle",
                                        "gears", "center_distance", "center_distance_allowance"});
    return d;
}

PairDesign ReadDesignFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw AppError("ファイル " + path + " は開けません");
    std::string text;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxDesignBytes)
            throw AppError("ファイル " + path + " は設計ファイルには大きすぎます（1 MiB まで）");
    }
    if (in.bad())
        throw AppError("ストリームからの読み込みエラー");
    return ParseDesignFile(text, path);
}

void WriteDesignFile(const PairDesign& design, const std::string& path)
{
    const std::string text = DesignFileText(design);
    WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}
