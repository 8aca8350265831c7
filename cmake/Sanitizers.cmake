# Applies the sanitizer chosen by ZELMOR_SANITIZER to every target, the plug-in library included.
if(ZELMOR_SANITIZER)
  add_compile_options(-fsanitize=${ZELMOR_SANITIZER} -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${ZELMOR_SANITIZER})
endif()
