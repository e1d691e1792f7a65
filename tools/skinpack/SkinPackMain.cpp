#include "SkinPacker.h"

#include <stdio.h>

// skinpack <skin folder> <output file>
int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        fwprintf(stderr, L"usage: skinpack <skin folder> <output file>\n");
        return 2;
    }
    CSkinPacker packer;
    if (!packer.Pack(argv[1], argv[2])) {
        fwprintf(stderr, L"skinpack: %ls\n", packer.GetError().c_str());
        return 1;
    }
    return 0;
}
