# Puts the logo into the form file as the image's picture data, or checks that it is there.
#   cmake -P disable/embed_logo.cmake          rewrites disable/Quarvel.dfm from disable/logo.bmp
#   cmake -DCHECK=ON -P disable/embed_logo.cmake   fails if the form file holds another picture
# Picture data is the graphic's class name as a short string ("TBitmap"), then the byte count of
# the .bmp file as 4 bytes, lowest first, then the file; written as hex, 32 bytes a line.
cmake_minimum_required(VERSION 3.21)

set(form_file ${CMAKE_CURRENT_LIST_DIR}/Quarvel.dfm)
set(logo_file ${CMAKE_CURRENT_LIST_DIR}/logo.bmp)

function(hex_byte value out)
  math(EXPR high "(${value} >> 4) & 15")
  math(EXPR low "${value} & 15")
  set(digits 0123456789ABCDEF)
  string(SUBSTRING ${digits} ${high} 1 h)
  string(SUBSTRING ${digits} ${low} 1 l)
  set(${out} "${h}${l}" PARENT_SCOPE)
endfunction()

file(READ ${logo_file} logo_hex HEX)
string(TOUPPER "${logo_hex}" logo_hex)
string(LENGTH "${logo_hex}" hex_length)
math(EXPR size "${hex_length} / 2")

set(data "07544269746D6170")  # 7, "TBitmap"
foreach(shift 0 8 16 24)
  math(EXPR byte "(${size} >> ${shift}) & 255")
  hex_byte(${byte} byte_hex)
  string(APPEND data ${byte_hex})
endforeach()
string(APPEND data "${logo_hex}")

set(block "Picture.Data = {")
string(LENGTH "${data}" data_length)
set(at 0)
while(at LESS data_length)
  string(SUBSTRING "${data}" ${at} 64 line)
  string(APPEND block "\n      ${line}")
  math(EXPR at "${at} + 64")
endwhile()
string(APPEND block "}")

file(READ ${form_file} form)
string(REGEX MATCH "Picture\\.Data = {[^}]*}" current "${form}")
if(CHECK)
  if(NOT current STREQUAL block)
    message(FATAL_ERROR "Quarvel.dfm does not hold logo.bmp: run cmake -P disable/embed_logo.cmake")
  endif()
else()
  string(REPLACE "${current}" "${block}" form "${form}")
  file(WRITE ${form_file} "${form}")
endif()
