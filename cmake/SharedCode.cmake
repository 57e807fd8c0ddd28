# A static library that links JUCE modules privately carries the compiled modules. A program that
# links such a library must see the same headers and configuration flags, but must not compile
# the module sources a second time: take the library's include directories and compile
# definitions (evaluated transitively) and link its objects.
function(tessaline_link_juce_library target library)
    target_include_directories(${target} PRIVATE $<TARGET_PROPERTY:${library},INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PRIVATE $<TARGET_PROPERTY:${library},COMPILE_DEFINITIONS>)
    target_compile_options(${target} PRIVATE $<TARGET_PROPERTY:${library},COMPILE_OPTIONS>)
    target_link_libraries(${target} PRIVATE ${library})
endfunction()
