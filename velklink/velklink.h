/*
 * velklink: the purchase link stored on this machine by a product's custom
 * setup. Link with -lvelklink (or load libvelklink.so at run time) and call
 * velkGetAffiliatePurchaseLink with the product's program UUID.
 */
#ifndef VELKLINK_VELKLINK_H
#define VELKLINK_VELKLINK_H

#include <stdint.h>

/* The library's version: compare VELKLINK_VERSION against VELKLINK_VERSION_AT
 * to use a call that a later version added. The SONAME (libvelklink.so.1)
 * changes only with VELKLINK_VERSION_MAJOR. */
#define VELKLINK_VERSION_MAJOR 1
#define VELKLINK_VERSION_MINOR 0
#define VELKLINK_VERSION_AT(major, minor) ((major)*1000 + (minor))
#define VELKLINK_VERSION VELKLINK_VERSION_AT(VELKLINK_VERSION_MAJOR, VELKLINK_VERSION_MINOR)

#if defined(_WIN32) && defined(VELKLINK_BUILD)
#define VELKLINK_API __declspec(dllexport)
#elif defined(_WIN32)
#define VELKLINK_API __declspec(dllimport)
#elif defined(__GNUC__)
#define VELKLINK_API __attribute__((visibility("default")))
#else
#define VELKLINK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results of velkGetAffiliatePurchaseLink. */
#define VELK_LINK_OK 0        /* the link (with its terminator) is in buffer */
#define VELK_LINK_NO_KEY 1    /* no custom setup of this product ran here */
#define VELK_LINK_NO_VALUE 2  /* the product is known but its link cannot be read */
#define VELK_LINK_MORE_DATA 3 /* buffer too small; *size holds the bytes needed */

/*
 * Copies the purchase link stored for the product whose program UUID is key
 * (letter case does not matter) into buffer, terminator included.
 *
 * *size is the buffer's capacity on entry; on VELK_LINK_OK it becomes the
 * bytes stored, on VELK_LINK_MORE_DATA the bytes needed. With a null buffer
 * the call only sets *size to the bytes needed and returns VELK_LINK_OK. On
 * VELK_LINK_NO_KEY and VELK_LINK_NO_VALUE buffer and *size are not touched.
 *
 * A link is stored text followed by its terminator, at most 4000 bytes. A
 * value of any registry type is accepted: its bytes are handed out as they
 * are stored when they end with a terminator and fit those 4000 bytes; a
 * value that does not (no terminator, too long, or missing) gives
 * VELK_LINK_NO_VALUE. Links are ASCII: the IDs in them are percent-encoded. When both the
 * machine-wide store and the current user's store hold a link for the
 * product, the one written last is returned (on equal times the machine-wide
 * one). Safe to call from any number of threads at once.
 *
 * Null arguments never crash: a null key gives VELK_LINK_NO_KEY; a null size
 * gives VELK_LINK_NO_VALUE when a link is stored for the product (and
 * VELK_LINK_NO_KEY when none is); a null buffer asks only for the size, as
 * above.
 */
VELKLINK_API int32_t velkGetAffiliatePurchaseLink(const char* key, char* buffer, uint32_t* size);

#ifdef __cplusplus
}
#endif

#endif /* VELKLINK_VELKLINK_H */
