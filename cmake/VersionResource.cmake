# The Windows version resource of both programs. Their .rc files include cmake/version_info.rc,
# which takes the version, the product name and the authors from the generated lct_version.h, so
# the project's version above stays the only place the version is written.
set(LCT_PRODUCT_NAME "LCD clock tools")
set(LCT_AUTHORS "The LCD clock tools authors")
set(LCT_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/lct_version.h.in ${LCT_GENERATED_DIR}/lct_version.h @ONLY)
include_directories($<$<COMPILE_LANGUAGE:RC>:${LCT_GENERATED_DIR}>
                    $<$<COMPILE_LANGUAGE:RC>:${CMAKE_CURRENT_LIST_DIR}>)
