/* Identifiers of the resources in tallyra.rc, shared by the resource script and
   the program. Plain macros: the resource compiler only understands those. */
#ifndef TALLYRA_RESOURCE_IDS_H
#define TALLYRA_RESOURCE_IDS_H

/* The application icon: the lowest icon ID, which Explorer shows for the file. */
#define TALLYRA_IDI_APP 1

/* The support window's card (PNG bytes, RCDATA). */
#define TALLYRA_IDR_SUPPORT_PICTURE 101

#ifndef RC_INVOKED
namespace tallyra {
inline constexpr int kAppIconId = TALLYRA_IDI_APP;
inline constexpr int kSupportPictureId = TALLYRA_IDR_SUPPORT_PICTURE;
} // namespace tallyra
#endif

#endif
