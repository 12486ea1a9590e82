#pragma once
// The master control zones (192..255) of the current controller, as the
// dialog holds them while it is open, and their loading from the database.
#include "diagnostics/HostContext.h"

#include <QString>
#include <array>

namespace cz {

class TimeZones;
struct RowsAsLoaded;

// The action columns in action order: Actions[i] is read from and written to
// column MCZActionColumns[i].
extern const std::array<QString, 21> MCZActionColumns;

struct MCZRecord {
    qint16 MasterControlZoneIndex = 0;  // 0 in a record the database did not return
    bool Changed = false;
    QString Name, Description;
    bool Defined = false;
    qint32 TimeZoneId = 0;  // generic time zone id
    quint8 LinkedZone = 0;
    qint32 DoorGroupID = 0;
    quint8 SecurityLevel = 0;
    bool Tag = false, Alert = false;
    quint8 GlobalId = 0;
    bool GlobalOut = false;
    std::array<quint8, 21> Actions{};  // standard control zone per action
};

class MCZTable {
public:
    static constexpr int First = 192, Last = 255;

    // Indexed by the zone's own number, 192..255; any other number is error 9.
    MCZRecord& operator()(int n);
    const MCZRecord& operator()(int n) const;
    void clear();  // every record zeroed

private:
    static int checked(int n);
    std::array<MCZRecord, Last - First + 1> records_{};
};

// Fills the records the procedure returns; others keep what they hold. Every
// failing field store is logged to the host ("LoadMCZArray") and loading goes on.
// `asLoaded`, when given, keeps the rows as read for the conflict check at OK.
void LoadMCZArray(const HostContext& ctx, TimeZones& timeZones, MCZTable& MCZArray, RowsAsLoaded* asLoaded = nullptr);
void ClearMCZChangedFlags(MCZTable& MCZArray);

}  // namespace cz
