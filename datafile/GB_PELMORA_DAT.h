#pragma once
// The sections of the client data file that hold the default content: the two peer lists,
// the settings and the known hashes.

#include <cstdint>
#include <string>

#include "datafile/LIB_Data1_ReadWrite.h"

// The writer the section writers use; WriteDataFile sets it for the length of one file.
extern TLibData1_ReadWrite* DataWriter;

void WriteGnuHosts(TOutputFile& file);
void WriteGnuHost(TOutputFile& file, std::uint8_t first, std::uint8_t second, std::uint8_t third,
                  std::uint8_t fourth, std::uint16_t port);
void WritePeppHosts(TOutputFile& file);
void WritePeppHost(TOutputFile& file, std::uint8_t first, std::uint8_t second, std::uint8_t third,
                   std::uint8_t fourth, std::uint16_t port);
void WriteSettings(TOutputFile& file);
void WriteSetting(TOutputFile& file, const std::string& key, const std::string& value);
void WriteKnownHashes(TOutputFile& file);
void WriteKnownHash(TOutputFile& file, const std::string& hash, std::uint32_t size);
