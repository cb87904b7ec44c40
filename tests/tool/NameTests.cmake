# quen name, quen next, quen match.
quen_tool_test(nameDriveForm EXIT 0 ARGS name "D:\\dir\\sub\\file.tar.gz"
    OUTPUT "^name               'D:\\\\dir\\\\sub\\\\file.tar.gz'\nvolumeName         ''\ndriveName          'D:'\ndrive              'D'\npathName           '\\\\dir\\\\sub\\\\file.tar.gz'\ndriveAndDirectory  'D:\\\\dir\\\\sub\\\\'\ndirectoryName      '\\\\dir\\\\sub'\nfileName           'file.tar.gz'\nextension          'gz'\nbaseName           'file.tar'\n$")
quen_tool_test(nameVolumeAndPlainForms EXIT 0 ARGS name "||BACKUP1||\\dir\\file.txt" file
    OUTPUT "^name               '[|][|]BACKUP1[|][|]\\\\dir\\\\file.txt'\nvolumeName         'BACKUP1'\ndriveName          ''\ndrive              0\n([^\n]*\n)*baseName           'file'\n\nname               'file'\n([^\n]*\n)*driveAndDirectory  ''\n([^\n]*\n)*fileName           'file'\nextension          ''\nbaseName           'file'\n$")
quen_tool_test(nameNeedsAName EXIT 2 ARGS name ERROR "no file name given")
quen_tool_test(nextNumbersASeries EXIT 0 ARGS next "D:\\dir\\file099.txt" OUTPUT "^D:\\\\dir\\\\file100.txt\n$")
quen_tool_test(nextBeyondAnInt EXIT 0 ARGS next x99999999999999999999 OUTPUT "^x100000000000000000000\n$")
quen_tool_test(nextTakesOneName EXIT 2 ARGS next a b ERROR "wrong number of arguments")
quen_tool_test(matchAll EXIT 0 ARGS match "*.txt" readme.TXT a.txt OUTPUT "^readme.TXT\tyes\na.txt\tyes\n$")
quen_tool_test(matchSome EXIT 1 ARGS match "IMG_????.jpg" img_0042.JPG img_42.jpg OUTPUT "^img_0042.JPG\tyes\nimg_42.jpg\tno\n$")
quen_tool_test(matchNeedsAName EXIT 2 ARGS match "*" ERROR "a pattern and at least one name")
# Control characters in names are shown as quen parse shows them, so that
# each name stays on its line and its tab-separated column.
quen_tool_test(nameControlCharacters EXIT 0 ARGS name "D:\\a\tb\nc.txt"
    OUTPUT "^name               'D:\\\\a\\\\tb\\\\nc.txt'\n([^\n]*\n)*fileName           'a\\\\tb\\\\nc.txt'\n([^\n]*\n)*baseName           'a\\\\tb\\\\nc'\n$")
quen_tool_test(nextControlCharacters EXIT 0 ARGS next "a\tb\r9" OUTPUT "^a\\\\tb\\\\r10\n$")
quen_tool_test(matchControlCharacters EXIT 1 ARGS match "*.txt" "a\tb.txt" "c\nd" OUTPUT "^a\\\\tb.txt\tyes\nc\\\\nd\tno\n$")
