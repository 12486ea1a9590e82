#pragma once
// Sample data for the host database: a small demo site to try the dialog on,
// and the same shape for thousands of controllers for benchmarks. Both expect
// the schema (hostdb::createSchema) and run in one transaction.
#include "platform/database/Connection.h"

namespace hostdb {

// The demo site's controllers: one per base relay count, plus one type without
// expansion inputs.
namespace demo {
constexpr int ReceptionPanel = 1;  // "Reception Panel", type 5: no base relays
constexpr int CarParkBarrier = 2;  // "Car Park Barrier", type 8: 1 base relay
constexpr int ServerRoom = 3;      // "Server Room", type 9: 2 base relays
constexpr int MainEntrance = 4;    // "Main Entrance", type 3: 4 base relays, 2 base inputs
constexpr int Warehouse = 5;       // "Warehouse \"North\", Dock 2", type 4: 8 base relays
constexpr int LoadingBay = 6;      // "Loading Bay", type 7: 4 base relays, no expansion inputs
constexpr int ControllerCount = 6;
// The one defined time zone slot without a generic time zone (MainEntrance).
constexpr int EmptySlotController = MainEntrance;
constexpr int EmptySlot = 10;
// The component type of the control-zone dialog, for user rights.
constexpr int ControlZoneComponentType = 32;
// The component number its stored customisations are kept under.
constexpr int ControlZoneComponentNumber = 5;
}  // namespace demo

// The demo site. Raises when the database already holds controllers.
void seedDemo(database::Connection& connection);

// Adds `controllers` controllers of every type in turn after the highest
// controller id present, each with the demo's shape (all 192 + 64 zones, time
// zone slots, doors and hardware rows): the first of each type is built row by
// row, the others are copied from it inside the database. Time zones, door
// groups, threat levels and users are added first where the database has none.
void seedScale(database::Connection& connection, int controllers);

}  // namespace hostdb
