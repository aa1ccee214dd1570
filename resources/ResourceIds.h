#pragma once
// Identifiers of the program's resources, shared by the resource script and the code.

#define kProductIconId 1

// Pictures of the pages: JPEG files carried as raw data and decoded when a page is created.
#define kPictureWelcomeId 101
#define kPictureLicenceId 102
#define kPictureInstallId 103
#define kPictureConnectionId 104
#define kPictureSummaryId 105
#define kPictureInstallReadyId 106
#define kPictureUpgradeReadyId 107
#define kPictureErrorId 108
#define kPictureFolderId 109
#define kPictureSearchId 110
