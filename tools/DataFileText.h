#pragma once
// Readable renderings of a client data file for the inspector pmdat: an indented text and a
// JSON document. Bytes outside printable ASCII are shown as \xNN in the text and as \u00NN in
// JSON.

#include <string>

#include "datafile/DataFileReader.h"

std::string DataFileToText(const TDataFileContent& content);
std::string DataFileToJson(const TDataFileContent& content);
