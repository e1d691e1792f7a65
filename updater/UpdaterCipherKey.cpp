#include "UpdaterCipherKey.h"

#include <windows.h>

StringCipherKey MakeUpdaterCipherKey()
{
    // Put together here each time, so the key never lies in the image as one string.
    char key[22];
    int i = 0;
    key[i++] = 'L';
    key[i++] = '#';
    key[i++] = 'u';
    key[i++] = '9';
    key[i++] = 'm';
    key[i++] = '!';
    key[i++] = 'o';
    key[i++] = '2';
    key[i++] = 'R';
    key[i++] = '@';
    key[i++] = 'a';
    key[i++] = '7';
    key[i++] = 'x';
    key[i++] = '$';
    key[i++] = 'V';
    key[i++] = '4';
    key[i++] = 'q';
    key[i++] = '%';
    key[i++] = 'Z';
    key[i++] = '8';
    key[i++] = 'k';
    key[i] = '\0';
    StringCipherKey cipherKey(key);
    SecureZeroMemory(key, sizeof(key));
    return cipherKey;
}
