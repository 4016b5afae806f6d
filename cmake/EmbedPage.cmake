# Writes OUTPUT, a C++ source that holds the web page's style (STYLE) and script (SCRIPT) as
# string literals, so they can live in files of their own where their checkers read them.
# usage: cmake -DSTYLE=page.css -DSCRIPT=page.js -DOUTPUT=PageResources.cpp -P EmbedPage.cmake
function(embed file name)
  file(READ "${file}" text)
  # The page carries both inside elements of its own; these would end them early.
  string(TOLOWER "${text}" lowered)
  foreach(closing "</script" "</style" "<!--")
    string(FIND "${lowered}" "${closing}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${file} holds \"${closing}\", which would end the page's element")
    endif()
  endforeach()
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR length "${digits} / 2")
  # Every byte as a hexadecimal escape, so any text (UTF-8 too) makes a valid literal.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" bytes "${hex}")
  string(REPEAT "\\\\x.." 32 line)
  string(REGEX REPLACE "(${line})" "\\1\"\n\"" bytes "${bytes}")
  set(arrays "${arrays}constexpr char k${name}[] =\n\"${bytes}\";\n" PARENT_SCOPE)
  set(functions "${functions}\nstd::string_view Page${name}() {\n    return {k${name}, ${length}};\n}\n"
      PARENT_SCOPE)
endfunction()

set(arrays "")
set(functions "")
embed("${STYLE}" Style)
embed("${SCRIPT}" Script)
file(WRITE "${OUTPUT}" "// Made by cmake/EmbedPage.cmake from resources/page.\n"
     "#include \"core/export/PageResources.h\"\n\nnamespace dirscribe {\n\nnamespace {\n\n"
     "${arrays}\n} // namespace\n${functions}\n} // namespace dirscribe\n")
