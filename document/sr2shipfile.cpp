// The document's field table and list operations.
#include "sr2shipfile.h"

#include "scriptformat.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unordered_map>

#include "numbers.h"
#include "platform.h"
#include "u8path.h"

namespace {

using MemberPtr = std::variant<std::string SR2ShipFile::*, std::int32_t SR2ShipFile::*,
                               std::int16_t SR2ShipFile::*, double SR2ShipFile::*,
                               bool SR2ShipFile::*>;

struct Table {
    std::vector<SR2ShipFile::FieldInfo> infos;
    std::vector<MemberPtr> members;
    std::unordered_map<std::string_view, std::size_t> byName;
};

const Table& FieldTable() {
    static const Table table = [] {
        Table t;
#define TARVISK_FIELD(type, name)                                                   \
    t.infos.push_back({#name, FieldType::type, t.infos.size()});                    \
    t.members.emplace_back(&SR2ShipFile::name);
#include "fields.def"
#undef TARVISK_FIELD
        for (const auto& info : t.infos) t.byName.emplace(info.name, info.index);
        return t;
    }();
    return table;
}

[[noreturn]] void UnknownField(std::string_view name) {
    throw std::invalid_argument("no document field is named '" + std::string(name) + "'");
}

std::size_t IndexOf(std::string_view name) {
    const auto* info = SR2ShipFile::FindField(name);
    if (!info) UnknownField(name);
    return info->index;
}

void CheckIndex(int index, std::size_t size, const char* list) {
    if (index < 0 || static_cast<std::size_t>(index) >= size)
        throw std::out_of_range(std::string(list) + ": index " + std::to_string(index) +
                                " is out of range");
}

// Removes item index of a list whose count field holds num. A list of at most one item is emptied
// whatever the index; the last item or any index beyond drops the last item; otherwise the later
// items move down one place and the result is true: the caller then loads the former last item
// into its current-item fields, as moving the items down one by one through them would leave it.
template <class List>
bool RemoveEntry(List& list, std::int32_t num, std::int16_t index, const char* operation) {
    if (num < 1 || list.empty()) {
        list.clear();
        return false;
    }
    if (index < 0) throw std::out_of_range(std::string(operation) + ": negative index");
    if (index >= num || static_cast<std::size_t>(index) + 1 >= list.size()) {
        list.pop_back();
        return false;
    }
    list.erase(list.begin() + index);
    return true;
}

}  // namespace

const std::vector<SR2ShipFile::FieldInfo>& SR2ShipFile::Fields() { return FieldTable().infos; }

const SR2ShipFile::FieldInfo* SR2ShipFile::FindField(std::string_view name) {
    const auto& t = FieldTable();
    auto it = t.byName.find(name);
    return it == t.byName.end() ? nullptr : &t.infos[it->second];
}

FieldValue SR2ShipFile::GetFieldAt(std::size_t index) const {
    return std::visit([this](auto member) -> FieldValue { return this->*member; },
                      FieldTable().members.at(index));
}

void SR2ShipFile::SetFieldAt(std::size_t index, FieldValue value) {
    std::visit(
        [&](auto member) {
            using T = std::decay_t<decltype(this->*member)>;
            T* v = std::get_if<T>(&value);
            if (!v)
                throw std::invalid_argument(std::string("wrong type of value for field '") +
                                            Fields()[index].name + "'");
            this->*member = std::move(*v);
        },
        FieldTable().members.at(index));
}

FieldValue SR2ShipFile::GetField(std::string_view name) const { return GetFieldAt(IndexOf(name)); }

void SR2ShipFile::SetField(std::string_view name, const FieldValue& value) {
    SetFieldAt(IndexOf(name), value);
}

std::string SR2ShipFile::GetFieldText(std::string_view name) const {
    FieldValue v = GetField(name);
    switch (v.index()) {
        case 0: return std::get<std::string>(v);
        case 1: return numbers::FormatInteger(std::get<std::int32_t>(v));
        case 2: return numbers::FormatInteger(std::get<std::int16_t>(v));
        case 3: return numbers::FormatReal(std::get<double>(v));
        default: return std::get<bool>(v) ? "1" : "0";
    }
}

Result SR2ShipFile::SetFieldText(std::string_view name, std::string_view text) {
    const std::size_t index = IndexOf(name);
    std::string why;
    std::optional<FieldValue> value;
    switch (Fields()[index].type) {
        case FieldType::String: value = std::string(text); break;
        case FieldType::Int32:
            if (auto v = numbers::ParseInt32(text, &why)) value = *v;
            break;
        case FieldType::Int16:
            if (auto v = numbers::ParseInt16(text, &why)) value = *v;
            break;
        case FieldType::Real:
            if (auto v = numbers::ParseReal(text, &why)) value = *v;
            break;
        case FieldType::Flag:
            if (auto v = numbers::ParseReal(text, &why)) value = *v != 0;
            break;
    }
    if (!value) return Result::Failure(std::move(why));
    SetFieldAt(index, *value);
    return {};
}

// ----- Lists -----

void SR2ShipFile::Initialize() {
    MAM_Reset();
    SSWC_Reset();
    CanAttack_Reset();
    CanBuildShips_Reset();
    MBM_Reset();
    SSOD_Reset();
    LSPL_Directory = "data:sound/sfx/ship/Hiigaran/Fighter/";
    LSPL_Num = 0;
    patches_ = {PatchItem{"HScoutEng", 0, ""}};
    patchKeptText_.reset();
    patchLineUnread_ = false;
    unrecognized_.Clear();
    inPlace_.Clear();
    keptAbilities_.clear();
    abilityExtra_.clear();
    assigned_.assign(Fields().size(), false);
    fieldPlace_.clear();
    abilityPlace_.clear();
    patchPlace_.reset();
    beforeBlock_.clear();
    origins_.Clear();
}

void SR2ShipFile::SSWC_AddItem(const std::string& WeaponName, const std::string& WeaponHardpoint,
                               const std::string& FiringEffect) {
    SSWC_WeaponName = WeaponName;
    SSWC_HardPointName = WeaponHardpoint;
    SSWC_FiringEffectName = FiringEffect;
    weapons_.push_back({{WeaponName, WeaponHardpoint, FiringEffect, {}}, std::nullopt, {}, std::nullopt});
    SSWC_Num = static_cast<std::int32_t>(weapons_.size()) - 1;
}

void SR2ShipFile::SSWC_RemoveItem(std::int16_t Index) {
    if (RemoveEntry(weapons_, SSWC_Num, Index, "SSWC_RemoveItem"))
        SSWC_LoadValues(static_cast<std::int16_t>(weapons_.size() - 1));
    SSWC_Num = static_cast<std::int32_t>(weapons_.size()) - 1;
}

void SR2ShipFile::SSWC_LoadValues(std::int16_t Index) {
    CheckIndex(Index, weapons_.size(), "SSWC_LoadValues");
    const auto& w = weapons_[Index].values;
    SSWC_WeaponName = w.name;
    SSWC_HardPointName = w.hardpoint;
    SSWC_FiringEffectName = w.effect;
}

void SR2ShipFile::SSWC_SaveValues(std::int16_t Index) {
    CheckIndex(Index, weapons_.size(), "SSWC_SaveValues");
    auto& w = weapons_[Index].values;
    w.name = SSWC_WeaponName;
    w.hardpoint = SSWC_HardPointName;
    w.effect = SSWC_FiringEffectName;
}

void SR2ShipFile::SSWC_Reset() {
    weapons_.clear();
    SSWC_Num = -1;
}

void SR2ShipFile::SSWC_SetList(WeaponList list) {
    weapons_ = std::move(list);
    SSWC_Num = static_cast<std::int32_t>(weapons_.size()) - 1;
}

void SR2ShipFile::SSOD_AddItem(const std::string& ChunkName) {
    SalvageItem item;
    item.name = ChunkName;
    salvage_.push_back({item, std::nullopt, {}, std::nullopt});
    SSOD_Num = static_cast<std::int32_t>(salvage_.size()) - 1;
}

void SR2ShipFile::SSOD_RemoveItem(std::int16_t Index) {
    if (RemoveEntry(salvage_, SSOD_Num, Index, "SSOD_RemoveItem"))
        SSOD_LoadValues(static_cast<std::int16_t>(salvage_.size() - 1));
    SSOD_Num = static_cast<std::int32_t>(salvage_.size()) - 1;
}

namespace {
// The current-item fields of a salvage entry, in the order of SalvageItem::reals.
constexpr double SR2ShipFile::*kSalvageReals[17] = {
    &SR2ShipFile::SSOD_PercentOfTotalValue,      &SR2ShipFile::SSOD_PositionX,
    &SR2ShipFile::SSOD_PositionY,                &SR2ShipFile::SSOD_PositionZ,
    &SR2ShipFile::SSOD_RandomAddToSpawnLocation, &SR2ShipFile::SSOD_InitialVerticalDirection,
    &SR2ShipFile::SSOD_InitialHorizontalDirection, &SR2ShipFile::SSOD_Unknown1,
    &SR2ShipFile::SSOD_Unknown2,                 &SR2ShipFile::SSOD_VelocityX,
    &SR2ShipFile::SSOD_VelocityY,                &SR2ShipFile::SSOD_VelocityZ,
    &SR2ShipFile::SSOD_CloudDispersion,          &SR2ShipFile::SSOD_RotationX,
    &SR2ShipFile::SSOD_RotationZ,                &SR2ShipFile::SSOD_RotationY,
    &SR2ShipFile::SSOD_RandomTumbleModifier,
};
}  // namespace

void SR2ShipFile::SSOD_LoadValues(std::int16_t Index) {
    CheckIndex(Index, salvage_.size(), "SSOD_LoadValues");
    const auto& s = salvage_[Index].values;
    SSOD_SalvageChunkName = s.name;
    SSOD_NumChunksToSpawn = s.chunks;
    for (int i = 0; i < 17; ++i) this->*kSalvageReals[i] = s.reals[i];
}

void SR2ShipFile::SSOD_SaveValues(std::int16_t Index) {
    CheckIndex(Index, salvage_.size(), "SSOD_SaveValues");
    auto& s = salvage_[Index].values;
    s.name = SSOD_SalvageChunkName;
    s.chunks = SSOD_NumChunksToSpawn;
    for (int i = 0; i < 17; ++i) s.reals[i] = this->*kSalvageReals[i];
}

void SR2ShipFile::SSOD_Reset() {
    salvage_.clear();
    SSOD_Num = -1;
}

void SR2ShipFile::SSOD_SetList(SalvageList list) {
    salvage_ = std::move(list);
    SSOD_Num = static_cast<std::int32_t>(salvage_.size()) - 1;
}

void SR2ShipFile::LSPL_LoadValues(std::int16_t Index) {
    CheckIndex(Index, patches_.size(), "LSPL_LoadValues");
    const auto& p = patches_[Index];
    LSPL_Effect = p.effect;
    LSPL_Val = p.value;
    LSPL_Marker = p.marker;
}

void SR2ShipFile::LSPL_SaveValues(std::int16_t Index) {
    CheckIndex(Index, patches_.size(), "LSPL_SaveValues");
    patches_[Index] = PatchItem{LSPL_Effect, LSPL_Val, LSPL_Marker};
}

void SR2ShipFile::LSPL_AddItem(std::int32_t Value, const std::string& Effect,
                               const std::string& Marker) {
    if (LSPL_Num < 0) patches_.clear();  // a count of -1 means no items, whatever is stored
    LSPL_Val = Value;
    LSPL_Effect = Effect;
    LSPL_Marker = Marker;
    patches_.push_back(PatchItem{Effect, Value, Marker});
    LSPL_Num = static_cast<std::int32_t>(patches_.size()) - 1;
}

void SR2ShipFile::LSPL_RemoveItem(std::int16_t Index) {
    if (RemoveEntry(patches_, LSPL_Num, Index, "LSPL_RemoveItem"))
        LSPL_LoadValues(static_cast<std::int16_t>(patches_.size() - 1));
    LSPL_Num = static_cast<std::int32_t>(patches_.size()) - 1;
}

SR2ShipFile::PatchListCopy SR2ShipFile::LSPL_GetList() const {
    return {LSPL_Directory, LSPL_Num, patches_, patchKeptText_, patchKeptValues_};
}

void SR2ShipFile::LSPL_SetList(PatchListCopy list) {
    LSPL_Directory = std::move(list.directory);
    LSPL_Num = list.num;
    patches_ = std::move(list.items);
    patchKeptText_ = std::move(list.keptText);
    patchKeptValues_ = std::move(list.keptValues);
}

void SR2ShipFile::MAM_AddValue(const std::string& NewValue) {
    mam_.push_back(NewValue);
    MAM_Num = static_cast<std::int32_t>(mam_.size()) - 1;
}

std::string SR2ShipFile::MAM_GetValue(std::int16_t Index) const {
    CheckIndex(Index, mam_.size(), "MAM_GetValue");
    return mam_[Index];
}

void SR2ShipFile::MAM_Reset() {
    mam_.clear();
    MAM_Num = -1;
}

void SR2ShipFile::MBM_AddValue(const std::string& NewValue) {
    mbm_.push_back(NewValue);
    MBM_Num = static_cast<std::int32_t>(mbm_.size()) - 1;
}

std::string SR2ShipFile::MBM_GetValue(std::int16_t Index) const {
    CheckIndex(Index, mbm_.size(), "MBM_GetValue");
    return mbm_[Index];
}

void SR2ShipFile::MBM_Reset() {
    mbm_.clear();
    MBM_Num = -1;
}

void SR2ShipFile::CanAttack_Reset() {
    CanAttack_AttackFamilyCount = -1;
    CanAttack_FamilyExceptionCount = -1;
    CanAttack_StyleExceptionCount = -1;
}

void SR2ShipFile::CanBuildShips_Reset() {
    CanBuildShips_BuildFamilyCount = -1;
    CanBuildShips_DisplayFamilyCount = -1;
}

// ----- Lines kept as read -----

bool SR2ShipFile::KeptLineHolds(const KeptLine& k) const {
    if (k.dropped) return false;
    if (k.ability >= 0) {
        const auto& a = scriptformat::Abilities()[static_cast<std::size_t>(k.ability)];
        if (!std::get<bool>(GetField(a.presence))) return false;
    }
    if (k.field < 0 || !k.valueRead) return true;
    if (k.list >= 0) return (k.list == 0 ? mam_ : mbm_) == std::get<std::vector<std::string>>(*k.valueRead);
    return GetFieldAt(static_cast<std::size_t>(k.field)) == std::get<FieldValue>(*k.valueRead);
}

std::vector<std::string> SR2ShipFile::UnrecognizedLines() const {
    std::vector<std::string> out;
    for (const auto& k : unrecognized_)
        if (KeptLineHolds(k)) out.push_back(k.text);
    return out;
}

std::optional<std::string> SR2ShipFile::KeptFieldText(std::string_view name) const {
    const auto* info = FindField(name);
    if (!info) return std::nullopt;
    const KeptLine* found = nullptr;
    for (const auto* list : {&inPlace_, &unrecognized_})
        for (const auto& k : *list)
            if (k.field == static_cast<int>(info->index) && KeptLineHolds(k)) found = &k;
    if (!found) return std::nullopt;
    // An assignment shows what follows its "="; a call line is shown whole.
    std::string_view text = found->text;
    const std::size_t eq = text.find('=');
    const std::size_t paren = text.find('(');
    if (eq != std::string_view::npos && (paren == std::string_view::npos || eq < paren))
        text.remove_prefix(eq + 1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

int SR2ShipFile::KeptLineCount() const {
    int n = 0;
    for (const auto& k : unrecognized_) n += KeptLineHolds(k) ? 1 : 0;
    for (const auto& k : inPlace_) n += KeptLineHolds(k) ? 1 : 0;
    for (const auto& w : weapons_) n += w.keptText && w.values == w.keptValues ? 1 : 0;
    for (const auto& s : salvage_) n += s.keptText && s.values == s.keptValues ? 1 : 0;
    if (patchKeptText_ && PatchList{LSPL_Directory, patches_} == patchKeptValues_) ++n;
    for (std::size_t i = 0; i < keptAbilities_.size(); ++i) n += AbilityKept(i) ? 1 : 0;
    return n;
}

std::string SR2ShipFile::FallbackLogFolder() { return UserStateFolder(); }
