#pragma once
// Who the plug-in is, as every format and every program file names it.
constexpr const char* kNimbrelName = "Nimbrel";
constexpr const char* kNimbrelVendor = "orvane.example";
constexpr int kNimbrelVendorVersion = 1000;
// The four-character plug-in ID: the VST 2 unique ID and the fxID of program and bank files.
constexpr char kNimbrelId[5] = "OvRV";
