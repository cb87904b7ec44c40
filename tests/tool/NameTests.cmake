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
