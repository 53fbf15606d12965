# Host-side settings: sanitizers for the portable code and its tests.
include_guard()
if(ATTENTE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
