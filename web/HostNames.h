#pragma once
// The web sites the installer names: in the client data file and in the packing dictionary.
// The maker sets the real names here at build time; the shipped ones are reserved example
// domains that reach no one.

// The maker's web server, its mirror and its counter server (scheme and host, no trailing "/").
inline constexpr char kMakerSite[] = "http://www.pelmora.example.com";
inline constexpr char kMirrorSite[] = "http://www.pelmora-mirror.example.net";
inline constexpr char kCounterSite[] = "http://counter.pelmora.example.org";

// The maker's support mailbox, shown on the error page and opened by its mail link.
inline constexpr char kSupportMail[] = "support@pelmora.example.com";

// Entries 1 to 4 of the packing dictionary: the maker's own site, then three widely used sites.
inline constexpr const char* kDictionarySites[4] = {
    kMakerSite,
    "http://www.example.com",
    "http://www.example.net",
    "http://www.example.org",
};
