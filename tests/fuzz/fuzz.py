#!/usr/bin/env python3
"""Mutation fuzzing of the programs' readers of outside input.

Inputs are made from our own skins and fixtures: byte mutations come from zzuf
(one zzuf run per batch over the batch's inputs laid end to end, so every input
gets its own mutations), and a mutator of ours rewrites attribute values, tags,
numbers and JSON/INI values with extreme ones, since byte-mutated markup mostly
dies in the parser. Every batch is made from a fixed seed, so a run replays.

Each target runs in a Wine process of its own (tests/fuzz harness programs);
a fault, an exception escaping the reader, a damaged heap or an input running
past the time limit is a failure: the harness copies the input to the failure
folder with a note, and this driver carries on with the next input.

  fuzz.py run --target NAME --count N [--seed S] [--batch B] [--work DIR]
  fuzz.py replay --target NAME FILE...     (runs the given inputs as they are)
  fuzz.py list                             (the targets)

The paths of the source tree, the build tree, Wine and the harness programs
come from --source, --build and --wine, or from the environment (LUMORA_SRC,
LUMORA_BUILD, LUMORA_WINE); tools/run_fuzz_long.sh sets them for a long run.
"""
import argparse
import glob
import json
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

# ---------------------------------------------------------------- extreme values

MAX_INPUT = 4 * 1024 * 1024

NUMBERS = ['-1', '0', '1', '7', '255', '256', '32767', '32768', '65535', '65536', '2147483647',
           '-2147483648', '2147483648', '4294967295', '4294967296', '1804294967296', '-99999999',
           '99999999999999999999', '0x7fffffff', '1e9', '-0', '00000000000000000000001']


def extreme_number(rng):
    return rng.choice(NUMBERS)


def number_list(rng):
    return ','.join(extreme_number(rng) for _ in range(rng.choice([1, 2, 3, 4, 4, 4, 5, 8])))


IMAGE_NAMES = ['down/frame.png', 'down/alpha.png', 'btn_close.png', 'nothing.png', '../../../../windows/win.ini',
               '..\\..\\x.png', 'C:\\windows\\win.ini', '\\\\127.0.0.1\\c$\\x.png', 'x.png:stream', '', ' ']


def image_description(rng):
    parts = ["file='%s'" % rng.choice(IMAGE_NAMES)]
    for key in ['source', 'dest', 'corner']:
        if rng.random() < 0.6:
            parts.append("%s='%s'" % (key, number_list(rng)))
    for key, values in [('fade', NUMBERS), ('hole', ['true', 'false']), ('xtiled', ['true']),
                        ('ytiled', ['true']), ('mask', ['#FFFF00FF', '#', 'FFFFFFFFFF', '#GG']),
                        ('restype', ['PNG', 'UPX3', '']), ('res', ['110', '0', '65536'])]:
        if rng.random() < 0.25:
            parts.append("%s='%s'" % (key, rng.choice(values)))
    if rng.random() < 0.1:
        parts.append("file='%s" % rng.choice(IMAGE_NAMES))  # unterminated
    return ' '.join(parts)


def long_text(rng):
    return rng.choice(['A', '宽', '&amp;', '%s%n', '\\', '<b>', '{']) * rng.choice([300, 300, 5000, 5000, 70000])


def extreme_value(rng):
    pick = rng.random()
    if pick < 0.35:
        return extreme_number(rng)
    if pick < 0.6:
        return number_list(rng)
    if pick < 0.72:
        return image_description(rng)
    if pick < 0.8:
        return long_text(rng)
    return rng.choice(['', ' ', 'true', 'false', '#FFFFFFFF', '#', '#GGGGGG', '&amp;&lt;&gt;&quot;',
                       '\u202e', '%s%s%s%n', 'ff00ff00ff00', '-', ',', ',,,,', '1,', 'left', 'center',
                       'top bottom right', '{5C6E2B8A-1F0D-4E7B-9A3C-2D4F6B8E0A11}',
                       '{8856F961-340A-11D0-A96B-00C04FD705A2}', 'http://127.0.0.1:9/x'])

# ---------------------------------------------------------------- markup mutations

TAGS = ['Window', 'Control', 'Container', 'VerticalLayout', 'HorizontalLayout', 'TileLayout', 'TabLayout',
        'DialogLayout', 'ChildLayout', 'Label', 'Button', 'Option', 'CheckBox', 'Text', 'Progress', 'Slider',
        'Edit', 'RichEdit', 'DateTime', 'ScrollBar', 'List', 'ListHeader', 'ListHeaderItem', 'ListLabelElement',
        'ListTextElement', 'ListContainerElement', 'ListExpandElement', 'Combo', 'ComboBox', 'Menu',
        'MenuElement', 'ActiveX', 'WebBrowser', 'HtmlCtrl', 'Include', 'Font', 'Image', 'Default', 'Unknown']

ATTRIBUTES = ['pos', 'relativepos', 'padding', 'bkcolor', 'bkcolor2', 'bkcolor3', 'bordercolor',
              'focusbordercolor', 'bordersize', 'borderround', 'bkimage', 'width', 'height', 'minwidth',
              'minheight', 'maxwidth', 'maxheight', 'name', 'text', 'tooltip', 'userdata', 'enabled', 'mouse',
              'keyboard', 'visible', 'random', 'float', 'shortcut', 'menu', 'inset', 'childpadding', 'vscrollbar',
              'hscrollbar', 'sepwidth', 'sepheight', 'columns', 'itemsize', 'selectedid', 'font', 'align',
              'textcolor', 'disabledtextcolor', 'textpadding', 'showhtml', 'normalimage', 'hotimage',
              'pushedimage', 'focusedimage', 'disabledimage', 'selectedimage', 'foreimage', 'selected', 'group',
              'min', 'max', 'value', 'hor', 'fgimage', 'thumbimage', 'thumbsize', 'step', 'range', 'linesize',
              'readonly', 'password', 'maxchar', 'multiline', 'wanttab', 'wantreturn', 'itemfont', 'itemheight',
              'header', 'dropboxsize', 'dropbox', 'size', 'caption', 'roundcorner', 'mininfo', 'maxinfo',
              'sizebox', 'alpha', 'bktrans', 'showdirty', 'mask', 'source', 'count', 'url', 'autonavi', 'clsid',
              'delaycreate', 'modulename', 'endellipsis', 'stretch', 'bold', 'italic', 'underline', 'default',
              'itemtextpadding', 'itemalign', 'itembkcolor', 'itemimage', 'itemselectedimage', 'expand',
              'rich', 'textpadding', 'autocalcwidth', 'numberonly', 'nativebkcolor']

ATTRIBUTE_RE = re.compile(rb'([A-Za-z_:][A-Za-z0-9_:]*)(\s*=\s*")([^"]*)(")')
TAG_RE = re.compile(rb'<(/?)([A-Za-z][A-Za-z0-9_]*)')
ELEMENT_RE = re.compile(rb'<([A-Za-z][A-Za-z0-9_]*)[^<>]*/>')


def xml_escape(text):
    return text.replace('&', '&amp;').replace('"', '&quot;').replace('<', '&lt;')


def mutate_markup(data, rng):
    for _ in range(rng.choice([1, 1, 2, 3, 5])):
        pick = rng.random()
        if pick < 0.45:
            data = replace_attribute_value(data, rng)
        elif pick < 0.65:
            data = add_attribute(data, rng)
        elif pick < 0.78:
            data = swap_tag(data, rng)
        elif pick < 0.88:
            data = repeat_element(data, rng)
        elif pick < 0.95:
            data = nest_deeply(data, rng)
        else:
            data = truncate(data, rng)
    return data


def replace_attribute_value(data, rng):
    found = list(ATTRIBUTE_RE.finditer(data))
    if not found:
        return data
    m = rng.choice(found)
    value = xml_escape(extreme_value(rng)).encode('utf-8', 'surrogatepass')
    return data[:m.start(3)] + value + data[m.end(3):]


def add_attribute(data, rng):
    tags = [m for m in TAG_RE.finditer(data) if not m.group(1)]
    if not tags:
        return data
    m = rng.choice(tags)
    name = rng.choice(ATTRIBUTES).encode()
    value = xml_escape(extreme_value(rng)).encode('utf-8', 'surrogatepass')
    return data[:m.end()] + b' ' + name + b'="' + value + b'"' + data[m.end():]


def swap_tag(data, rng):
    tags = [m for m in TAG_RE.finditer(data) if not m.group(1)]
    if not tags:
        return data
    m = rng.choice(tags)
    old, new = m.group(2), rng.choice(TAGS).encode()
    # the matching end tag (if any) is renamed with it, so the markup still parses
    data = data[:m.start(2)] + new + data[m.end(2):]
    end = data.find(b'</' + old + b'>', m.start(2))
    if end >= 0:
        data = data[:end + 2] + new + data[end + 2 + len(old):]
    return data


def repeat_element(data, rng):
    found = list(ELEMENT_RE.finditer(data))
    if not found:
        return data
    m = rng.choice(found)
    return data[:m.end()] + m.group(0) * rng.choice([2, 50, 3000]) + data[m.end():]


def nest_deeply(data, rng):
    found = list(ELEMENT_RE.finditer(data))
    if not found:
        return data
    m = rng.choice(found)
    depth = rng.choice([20, 255, 256, 300, 5000])
    tag = rng.choice([b'Container', b'VerticalLayout', b'HorizontalLayout', b'Control', b'a'])
    return data[:m.start()] + (b'<' + tag + b'>') * depth + m.group(0) + (b'</' + tag + b'>') * depth + \
        data[m.end():]


def truncate(data, rng):
    return data[:rng.randrange(len(data) + 1)] if data else data

# ---------------------------------------------------------------- tagged text and descriptions

TEXT_TAGS = ['<b>', '</b>', '<i>', '</i>', '<u>', '</u>', '<s>', '</s>', '<a>', '<a x>', '</a>', '<f 1>', '</f>',
             '<f 99999999>', '<f -5 bold italic underline>', '<c #FFFF0000>', '</c>', '<c>', '<x 999999>',
             '<x -2147483648>', '<y 5>', '<y 99999999>', '<p>', '</p>', '<p 99999>', '<n>', '<r>', '</r>', '<h>',
             '</h>', '<i btn_close.png 5 3>', '<i down/frame.png 99999999 -7>', "<i file='C:\\windows\\win.ini'>",
             '{i \\\\127.0.0.1\\c$\\x.png}', '{b}', '{/b}', '{a}', '{/a}', '{n}', '{x 9999}', '<', '{', '>', '}',
             '&lt;', '<<<', '</>', '<f>', '<i>', '<i >', '<c #>', '\n', '\t', ' ']


def mutate_text(data, rng):
    text = data.decode('utf-8', 'replace')
    for _ in range(rng.choice([1, 2, 4, 8])):
        pick = rng.random()
        pos = rng.randrange(len(text) + 1)
        if pick < 0.5:
            text = text[:pos] + rng.choice(TEXT_TAGS) + text[pos:]
        elif pick < 0.65:
            text = text[:pos] + rng.choice(TEXT_TAGS) * rng.choice([50, 2000]) + text[pos:]
        elif pick < 0.9:
            text = re.sub(r'-?\d+', lambda m: extreme_number(rng) if rng.random() < 0.5 else m.group(0), text)
        else:
            text = text[:pos] + long_text(rng) + text[pos:]
    return text.encode('utf-8', 'surrogatepass')


def mutate_description(data, rng):
    if rng.random() < 0.5:
        return image_description(rng).encode()
    text = data.decode('utf-8', 'replace')
    text = re.sub(r"'[^']*'", lambda m: "'%s'" % extreme_value(rng) if rng.random() < 0.4 else m.group(0), text)
    return text.encode('utf-8', 'surrogatepass')

# ---------------------------------------------------------------- JSON, INI, resume records

def json_extreme(rng, depth=0):
    pick = rng.random()
    if pick < 0.3:
        return rng.choice([0, -1, 1, 2147483647, -2147483648, 4294967295, 4294967296, 2 ** 63, -2 ** 63, 1e308,
                           -0.5, 10.5])
    if pick < 0.5:
        return rng.choice(['', 'x' * 5000, '..\\..\\..\\x', 'C:\\windows\\win.ini', '\\\\127.0.0.1\\c$\\x',
                           'http://127.0.0.1:9/x', '\u00ff\u00fe', '%s%n', '\x00\x01'])
    if pick < 0.6:
        return rng.choice([True, False, None])
    if pick < 0.75 and depth < 3:
        return [json_extreme(rng, depth + 1) for _ in range(rng.choice([0, 1, 2, 5]))]
    if pick < 0.85 and depth < 3:
        return {rng.choice(['url', 'utype', 'percent', 'fileLength', 'x']): json_extreme(rng, depth + 1)}
    return rng.choice(['setMini', 'notice', 'movePlayerWindow', 'setFullscreen'])


def mutate_json_value(value, rng):
    if isinstance(value, dict) and value and rng.random() < 0.8:
        key = rng.choice(list(value))
        value[key] = mutate_json_value(value[key], rng)
        return value
    if isinstance(value, list) and value and rng.random() < 0.8:
        i = rng.randrange(len(value))
        value[i] = mutate_json_value(value[i], rng)
        return value
    return json_extreme(rng)


def mutate_json(data, rng):
    try:
        value = json.loads(data.decode('utf-8'))
    except ValueError:
        return data
    for _ in range(rng.choice([1, 2, 4])):
        value = mutate_json_value(value, rng)
    text = json.dumps(value, ensure_ascii=rng.random() < 0.5)
    # LUMORA_FUZZ_SHALLOW_JSON=1 leaves deep nesting out, for a long run of the other
    # mutations while a known fault with deep nesting is open.
    if rng.random() < 0.15 and not os.environ.get('LUMORA_FUZZ_SHALLOW_JSON'):
        depth = rng.choice([100, 999, 1001, 20000])
        pos = text.find('[')
        if pos >= 0:
            text = text[:pos + 1] + '[' * depth + ']' * depth + ',' + text[pos + 1:]
    return text.encode('utf-8', 'surrogatepass')


def mutate_ini(data, rng):
    lines = data.decode('utf-8', 'replace').split('\r\n')
    for _ in range(rng.choice([1, 2, 4])):
        if not lines:
            lines = ['[FILE]']
        pick = rng.random()
        i = rng.randrange(len(lines))
        if pick < 0.5 and '=' in lines[i]:
            key = lines[i].split('=', 1)[0]
            lines[i] = key + '=' + str(rng.choice([extreme_number(rng), long_text(rng)[:3000], '..\\..\\evil.dll',
                                                   'a:b', '$S', '$W\\..\\..', '', '9999.9999.9999.9999']))
        elif pick < 0.7:
            n = rng.randrange(1, 120)
            lines[i:i] = ['NAME%d=%s' % (n, rng.choice(['x.dll', '..\\x.dll', 'c:x', 'a/b'])),
                          'PATH%d=%s' % (n, rng.choice(['\\plugins', '$S', '$Q', 'D:\\', ''])),
                          'VERSION%d=%s' % (n, rng.choice(['1.0', '', '99999999999999999999']))]
        elif pick < 0.85:
            lines[i:i] = [rng.choice(['[FILE]', '[SETUP]', '[RUN]', '[', ']', '=', 'NUMBER=' + extreme_number(rng)])]
        else:
            lines = lines[:i]
    return '\r\n'.join(lines).encode('utf-8', 'surrogatepass')


def resume_seed(records):
    body = b''.join(struct.pack('<III', *r) for r in records)
    return body + struct.pack('<I', len(records))


RESUME_SEEDS = {
    'one.cfg': resume_seed([(0, 100000, 5000)]),
    'four.cfg': resume_seed([(0, 25000, 25000), (25000, 50000, 100), (50000, 75000, 0), (75000, 100000, 9)]),
    'empty.cfg': resume_seed([]),
}


def mutate_resume(data, rng):
    words = list(struct.unpack('<%dI' % (len(data) // 4), data[:len(data) // 4 * 4]))
    if not words:
        return data
    for _ in range(rng.choice([1, 2, 3])):
        i = rng.randrange(len(words))
        words[i] = rng.choice([0, 1, 65535, 65536, 65537, 99999, 100000, 100001, 0xFFFFFFFF, 0x80000000,
                               (words[i] + 1) & 0xFFFFFFFF, (words[i] - 1) & 0xFFFFFFFF, 64, 65, 0x10040])
    return struct.pack('<%dI' % len(words), *words)

# ---------------------------------------------------------------- targets

UPD_SKIN = ['src:skins/update/*.xml', 'src:skins/updtest/*.xml', 'src:skins/updtest/loops/*.xml']
UI_SKIN = ['src:skins/main/xml/*.xml', 'src:skins/setup/xml/*.xml', 'src:skins/test/xml/*.xml']

# exe, seed globs, mutators with weights, resources copied for the harness
TARGETS = {
    'updui-markup': ('upd', UPD_SKIN, {'zzuf': 5, 'markup': 4, 'markup+zzuf': 1}, []),
    'updui-skin': ('upd', UPD_SKIN, {'markup': 7, 'zzuf': 2, 'markup+zzuf': 1}, ['build:updater/update_skin.zip']),
    'updui-zip': ('upd', ['build:updater/update_skin.zip', 'build:tests/updtest.zip'], {'zzuf': 1},
                  ['build:updater/update_skin.zip']),
    'updui-imagedesc': ('upd', ['src:tests/fuzz/seeds/imagedesc/*'], {'desc': 6, 'zzuf': 2, 'desc+zzuf': 1},
                        ['build:updater/update_skin.zip']),
    'updui-text': ('upd', ['src:tests/fuzz/seeds/text/*'], {'text': 6, 'zzuf': 3}, ['build:updater/update_skin.zip']),
    'updater-list': ('upd', ['src:tests/fuzz/seeds/list/*'], {'json': 6, 'zzuf': 3, 'json+zzuf': 1}, []),
    'updater-manifest': ('upd', ['src:tests/fuzz/seeds/manifest/*'], {'ini': 6, 'zzuf': 3}, []),
    'updater-cfg': ('upd', ['gen:resume'], {'resume': 6, 'zzuf': 3, 'cut': 1}, []),
    'ui-markup': ('ui', UI_SKIN, {'zzuf': 5, 'markup': 4, 'markup+zzuf': 1}, []),
    'ui-skin': ('ui', UI_SKIN, {'markup': 7, 'zzuf': 2, 'markup+zzuf': 1}, ['build:bin/skin/skin.sk']),
    'ui-imagedesc': ('ui', ['src:tests/fuzz/seeds/imagedesc/*'], {'desc': 6, 'zzuf': 2, 'desc+zzuf': 1},
                     ['build:bin/skin/skin.sk']),
    'ui-text': ('ui', ['src:tests/fuzz/seeds/text/*'], {'text': 6, 'zzuf': 3}, ['build:bin/skin/skin.sk']),
    'shell-pagecmd': ('ui', ['src:tests/fuzz/seeds/pagecmd/*'], {'json': 6, 'zzuf': 3, 'json+zzuf': 1}, []),
}

MUTATORS = {
    'markup': mutate_markup,
    'text': mutate_text,
    'desc': mutate_description,
    'json': mutate_json,
    'ini': mutate_ini,
    'resume': mutate_resume,
    'cut': truncate,
}


class Paths:
    def __init__(self, args):
        self.source = os.path.abspath(args.source or os.environ.get('LUMORA_SRC') or
                                      os.path.join(os.path.dirname(__file__), '..', '..'))
        self.build = os.path.abspath(args.build or os.environ.get('LUMORA_BUILD') or
                                     os.path.join(self.source, 'build', 'out'))
        self.wine = args.wine or os.environ.get('LUMORA_WINE') or 'wine'

    def resolve(self, spec):
        kind, pattern = spec.split(':', 1)
        if kind == 'gen':
            return []
        root = self.source if kind == 'src' else self.build
        return sorted(glob.glob(os.path.join(root, pattern)))

    def harness(self, exe):
        return os.path.join(self.build, 'tests', 'fuzz_%s.exe' % exe)


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def load_seeds(paths, target):
    seeds = []
    for spec in TARGETS[target][1]:
        if spec == 'gen:resume':
            seeds += sorted(RESUME_SEEDS.items())
        for path in paths.resolve(spec):
            with open(path, 'rb') as f:
                seeds.append((os.path.relpath(path, paths.source), f.read()))
    if not seeds:
        sys.exit('no seeds for %s: is the build tree complete?' % target)
    return seeds


def zzuf(data, seed, ratio):
    if not data:
        return data
    done = subprocess.run(['zzuf', '-s', str(seed), '-r', str(ratio)], input=data, stdout=subprocess.PIPE,
                          check=True)
    return done.stdout


def make_batch(target, seeds, batch_seed, count):
    """Inputs of one batch and a line per input saying how it was made."""
    rng = random.Random(batch_seed)
    weights = TARGETS[target][2]
    kinds = [k for k, w in weights.items() for _ in range(w)]
    ratio = rng.choice([0.0005, 0.002, 0.004, 0.01, 0.03])
    items = []
    for _ in range(count):
        name, data = rng.choice(seeds)
        kind = rng.choice(kinds)
        for step in kind.split('+'):
            if step in MUTATORS:
                data = MUTATORS[step](data, rng)
        # The programs read no markup or list larger than this; repeated mutations could
        # otherwise build inputs of gigabytes.
        items.append([data[:MAX_INPUT], kind, name])
    # one zzuf run for every input that asks for byte mutations, laid end to end
    fuzzed = [i for i, item in enumerate(items) if 'zzuf' in item[1]]
    stream = zzuf(b''.join(items[i][0] for i in fuzzed), batch_seed, ratio)
    pos = 0
    for i in fuzzed:
        n = len(items[i][0])
        items[i][0] = stream[pos:pos + n]
        pos += n
    notes = ['%s seed=%s kind=%s zzuf-ratio=%s batch-seed=%d' % ('%07d.in' % i, item[2], item[1], ratio, batch_seed)
             for i, item in enumerate(items)]
    return [item[0] for item in items], notes


def write_batch(folder, inputs, notes):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for i, data in enumerate(inputs):
        with open(os.path.join(folder, '%07d.in' % i), 'wb') as f:
            f.write(data)
    with open(os.path.join(folder, 'inputs.txt'), 'w') as f:
        f.write('\n'.join(notes) + '\n')


def run_harness(paths, target, folder, failures, resources, limit_ms, first):
    exe = paths.harness(TARGETS[target][0])
    cmd = [paths.wine, exe, target, windows_path(folder), windows_path(failures), str(limit_ms), str(first),
           windows_path(resources)]
    with tempfile.TemporaryFile() as log:
        # output through a file: Wine's helper processes may keep a pipe open
        rc = subprocess.call(cmd, stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log.seek(0)
        out = log.read().decode('utf-8', 'replace')
    return rc, out


def copy_resources(paths, target, work):
    folder = os.path.join(work, 'res')
    os.makedirs(folder, exist_ok=True)
    for spec in TARGETS[target][3]:
        found = paths.resolve(spec)
        if not found:
            sys.exit('missing resource %s' % spec)
        shutil.copy(found[0], folder)
    return folder


def fuzz_folder(paths, target, folder, failures, resources, limit_ms, count):
    """Runs every input of a folder, restarting after each failure. Returns the failure lines."""
    first, failed = 0, []
    while first < count:
        rc, out = run_harness(paths, target, folder, failures, resources, limit_ms, first)
        fail = [line for line in out.splitlines() if line.startswith('FAIL ')]
        if rc == 0 and not fail:
            break
        if not fail:
            failed.append('FAIL %s: harness ended with %d: %s' % (target, rc, out.strip()[-500:]))
            break
        failed.append(fail[0])
        name = fail[0].split()[2].rstrip(':')
        first = int(name.split('.')[0]) + 1
    return failed


def command_run(args):
    paths = Paths(args)
    target = args.target
    seeds = load_seeds(paths, target)
    work = args.work or tempfile.mkdtemp(prefix='lumora_fuzz_')
    failures = os.path.join(work, 'failures')
    os.makedirs(failures, exist_ok=True)
    resources = copy_resources(paths, target, work)
    done, failed, started = 0, [], time.time()
    batch = 0
    while done < args.count:
        count = min(args.batch, args.count - done)
        folder = os.path.join(work, 'batch')
        inputs, notes = make_batch(target, seeds, args.seed + batch, count)
        write_batch(folder, inputs, notes)
        found = fuzz_folder(paths, target, folder, failures, resources, args.limit_ms, count)
        for line in found:
            name = line.split()[2].rstrip(':') if line.split()[2].endswith('.in:') else ''
            note = [n for n in notes if n.startswith(name + ' ')] if name else []
            print(line + (' [' + note[0] + ']' if note else ''))
            if note:
                with open(os.path.join(failures, '%s-%s.how.txt' % (target, name)), 'w') as f:
                    f.write(note[0] + '\n')
        failed += found
        done += count
        batch += 1
        if args.verbose:
            print('%s: %d inputs, %d failures, %.0f s' % (target, done, len(failed), time.time() - started))
        sys.stdout.flush()
    print('%s: %d inputs from seed %d, %d failures, %.0f s, failing inputs in %s' %
          (target, done, args.seed, len(failed), time.time() - started, failures))
    if not args.work and not failed:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


def command_replay(args):
    paths = Paths(args)
    work = tempfile.mkdtemp(prefix='lumora_fuzz_replay_')
    folder = os.path.join(work, 'batch')
    os.makedirs(folder)
    for i, path in enumerate(args.files):
        shutil.copy(path, os.path.join(folder, '%07d.in' % i))
    resources = copy_resources(paths, args.target, work)
    found = fuzz_folder(paths, args.target, folder, os.path.join(work, 'failures'), resources, args.limit_ms,
                        len(args.files))
    for line in found:
        print(line)
    print('%d of %d inputs failed' % (len(found), len(args.files)))
    return 1 if found else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--source')
    parser.add_argument('--build')
    parser.add_argument('--wine')
    parser.add_argument('--limit-ms', type=int, default=10000, help='time limit per input')
    sub = parser.add_subparsers(dest='command', required=True)
    run = sub.add_parser('run')
    run.add_argument('--target', required=True, choices=sorted(TARGETS))
    run.add_argument('--count', type=int, default=300)
    run.add_argument('--seed', type=int, default=1)
    run.add_argument('--batch', type=int, default=2000)
    run.add_argument('--work', help='keep batches and failures here')
    run.add_argument('--verbose', action='store_true')
    replay = sub.add_parser('replay')
    replay.add_argument('--target', required=True, choices=sorted(TARGETS))
    replay.add_argument('files', nargs='+')
    sub.add_parser('list')
    args = parser.parse_args()
    if args.command == 'list':
        print('\n'.join(sorted(TARGETS)))
        return 0
    return command_run(args) if args.command == 'run' else command_replay(args)


if __name__ == '__main__':
    sys.exit(main())
