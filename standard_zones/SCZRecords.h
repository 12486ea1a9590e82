#pragma once
// The standard control zones (0..191) of the current controller, as the
// dialog holds them while it is open, and their loading from the database.
#include "diagnostics/HostContext.h"

#include <QString>
#include <array>

namespace cz {

class TimeZones;
struct RowsAsLoaded;

struct SCZRecord {
    qint16 ControlZoneIndex = 0;  // 0 also in a record the database did not return
    QString Name;
    bool Defined = false, Tag = false, Alert = false;
    qint32 TimeZoneId = 0;       // generic time zone id
    std::array<bool, 9> Relay{};      // 1..8 used
    std::array<bool, 65> ExpRelay{};  // 1..64 used
    bool Changed = false;
};

// The database columns of relay k, "ry" k and "xry" k, at index k (0 unused).
extern const std::array<QString, 9> SCZRelayColumns;
extern const std::array<QString, 65> SCZExpRelayColumns;

class SCZTable {
public:
    static constexpr int Count = 192;

    // 0..191; any other number is error 9.
    SCZRecord& operator()(int n);
    const SCZRecord& operator()(int n) const;
    void clear();  // every record zeroed

private:
    static int checked(int n);
    std::array<SCZRecord, Count> records_{};
};

// Inverts the mark of grdSCZ column `column` in the zone (a base or expansion
// relay, TAG or ALERT, by the controller type's column layout) and marks the
// zone changed; any other column changes nothing. True when it inverted one.
bool ToggleSCZColumn(SCZRecord& zone, qint32 ControllerType, int column);

// Fills the records the procedure returns; others keep what they hold. Every
// failing field store is logged to the host ("LoadSCZArray") and loading goes on.
// `asLoaded`, when given, keeps the rows as read for the conflict check at OK.
void LoadSCZArray(const HostContext& ctx, TimeZones& timeZones, SCZTable& SCZArray, RowsAsLoaded* asLoaded = nullptr);

}  // namespace cz
