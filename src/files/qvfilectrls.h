#pragma once
// Qvfilectrls: a list view of one directory's files (TqvFileListView) with a folder combo
// box (TqvFolderCombo) and a file-name edit (TqvFilenameEdit) that follow it. Every text
// the three show comes from one of five language tables, chosen by the list's Language.
// This header holds the unit's published types and the language texts.
#include "vcl/core/resstrings.h"

#include <QObject>
#include <QString>

namespace Qvfilectrls {

Q_NAMESPACE

// The language of the list's texts; the two defaults follow the user's or the system's
// locale, and a language without texts falls back to English.
enum TFileViewLanguage { lnSystemDefault, lnUserDefault, lnEnglish, lnItalian, lnFrench, lnGerman, lnSpanish };
Q_ENUM_NS(TFileViewLanguage)

// Attribute bits a file may carry and still be listed.
enum TFileListViewAttr { flvReadOnly = 0x1, flvHidden = 0x2, flvSystem = 0x4 };
Q_DECLARE_FLAGS(TFileListViewAttrs, TFileListViewAttr)
Q_FLAG_NS(TFileListViewAttrs)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFileListViewAttrs)
// Every attribute allowed: all files are listed.
constexpr TFileListViewAttrs flvAll = TFileListViewAttrs(flvReadOnly) | flvHidden | flvSystem;

// The sort key; the Inv values reverse it (folders still come before files).
enum TSortedBy { sbName, sbSize, sbType, sbDate, sbAttr, sbNameInv, sbSizeInv, sbTypeInv, sbDateInv, sbAttrInv };
Q_ENUM_NS(TSortedBy)
constexpr int SortKeyCount = 5; // The number of sort keys (TSortedBy without the Inv values).

// How the rows are shown: large or small icons, a list, a report with columns, or
// thumbnails of the pictures.
enum TViewIconStyle { visIcon, visSmallIcon, visList, visReport, visBrowseImage };
Q_ENUM_NS(TViewIconStyle)

// Offsets of the texts from a language's base.
enum TTextOffset {
    txHeader = 0,
    txColumnName = 11, txColumnSize, txColumnType, txColumnDate, txColumnAttr,
    txDriveUnknown = 21, // + the drive-type code 0..6
    txAllNetwork = 31, txDeleted, txNewFolder,
    txMenuView = 41, txViewIcon, txViewSmall, txViewList, txViewReport, txViewImages,
    txMenuBrowser = 51, txBrowseMasked,
    txMenuSort = 61, txSortName, txSortSize, txSortType, txSortDate, txSortAttr,
    txMenuSendTo = 71, txDelete, txRename, txNewFolderItem, txOpen,
};

// The base that stands in for a language without a table (English).
constexpr int FallbackTextBase = 900;

// The primary language number Language stands for: 9, 16, 12, 7 and 10 for the five
// tables; lnUserDefault and lnSystemDefault read the locale environment.
unsigned PrimaryLanguageOf(TFileViewLanguage Language);
// Language's text base (its primary language number x 100), or FallbackTextBase when
// Table holds no header text (or an empty one) at that base.
int TextBaseOf(TFileViewLanguage Language, const vcl::TStringTable& Table = vcl::ResStringTable());
// The text at Base + Offset.
QString FileListText(int Base, TTextOffset Offset);
// The name of the platform's drive-type Code (0 unknown, 1 no root directory, 2
// removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk); codes outside 0..6 count as 0.
QString DriveTypeText(int Base, int Code);

} // namespace Qvfilectrls
