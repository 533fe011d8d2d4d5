/*
 * How a vendor's product reads the purchase link that its affiliate's custom
 * setup stored on this machine.
 *
 *   velklink_demo <program UUID>
 *
 * Prints the link and exits with 0, or explains on stderr why there is none
 * and exits with the library's result (1 to 3).
 */
#include <stdio.h>
#include <stdlib.h>

#include "velklink/velklink.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s <program UUID>\n", argv[0]);
        return 64;
    }
    const char* uuid = argv[1];

    /* First ask for the size, then fetch into a buffer of that size. */
    uint32_t size = 0;
    int32_t result = velkGetAffiliatePurchaseLink(uuid, NULL, &size);
    if (result == VELK_LINK_OK) {
        char* link = malloc(size > 0 ? size : 1);
        if (link == NULL)
            return 70;
        result = velkGetAffiliatePurchaseLink(uuid, link, &size);
        if (result == VELK_LINK_OK && size > 0) {
            link[size - 1] = '\0'; /* a stored value always ends with its terminator */
            printf("%s\n", link);
        }
        free(link);
    }

    switch (result) {
    case VELK_LINK_OK:
        return 0;
    case VELK_LINK_NO_KEY:
        fprintf(stderr, "No custom setup of this product ran on this machine; "
                        "use the product's own purchase link.\n");
        break;
    case VELK_LINK_NO_VALUE:
        fprintf(stderr, "The product is known here but its purchase link cannot be read.\n");
        break;
    case VELK_LINK_MORE_DATA:
        fprintf(stderr, "The purchase link changed while it was being read; try again.\n");
        break;
    default:
        fprintf(stderr, "Unexpected result %d.\n", (int)result);
        break;
    }
    return (int)result;
}
