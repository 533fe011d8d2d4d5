# velkora_embed_image(TARGET <target> IMAGE_TARGET <exe target> ID <number>)
# Links the file of IMAGE_TARGET into TARGET as read-only data, registered under
# type "SFX_EXE" and the given id. Filled in by the package container.
