#!/usr/bin/env python3
"""Random Zintrel programs whose output is known in advance.

Each program is a set of sections (arithmetic, text, loops, Select, functions with defaults,
arrays, classes), written as functions that the main code calls in order. The generator
computes, with the language's own rules, what every Print must write; run.py builds and runs
the programs and compares. Everything depends only on the seed, so a failing program can be
written again from the seed alone.
"""
import math
from fractions import Fraction
import random
import struct

INTS = {  # name: (bits, signed)
    'Byte': (8, True), 'UByte': (8, False), 'Short': (16, True), 'UShort': (16, False),
    'Int': (32, True), 'UInt': (32, False), 'Long': (64, True), 'ULong': (64, False),
}
REALS = ('Float', 'Double')
NUMERIC = tuple(INTS) + REALS


def wrap(v, t):
    if t == 'Bool':
        return 1 if v else 0
    bits, signed = INTS[t]
    v &= (1 << bits) - 1
    if signed and v >> (bits - 1):
        v -= 1 << bits
    return v


def in_range(v, t):
    return wrap(v, t) == v


def f32(x):
    return struct.unpack('f', struct.pack('f', x))[0]


def int_to_f32(n):
    """n rounded once to single precision (a conversion from an integer in C++)."""
    if abs(n) < 1 << 53:
        return f32(float(n))
    sign = -1 if n < 0 else 1
    m = abs(n)
    shift = m.bit_length() - 24
    q, r = divmod(m, 1 << shift)
    half = 1 << (shift - 1)
    if r > half or (r == half and q & 1):
        q += 1
    return sign * float(q << shift)


def to_real(v, src, dst):
    """The value v of type src converted to the real type dst."""
    if src in REALS or src == 'Bool' and False:
        return f32(v) if dst == 'Float' else float(v)
    return int_to_f32(v) if dst == 'Float' else float(v)


def next_f32(x, step):
    """The single-precision neighbour of x (step 1 away from zero, -1 towards it)."""
    bits = struct.unpack('I', struct.pack('f', x))[0]
    return struct.unpack('f', struct.pack('I', bits + step))[0]


def reads_back(m, k, x, single):
    """Whether m * 10**k, correctly rounded to the type, is x (positive and finite)."""
    q = Fraction(m) * Fraction(10) ** k
    if not single:
        try:
            return float(q) == x
        except OverflowError:
            return False
    if q >= 2 ** 128 - 2 ** 103:
        return False  # rounds to infinity
    # Through a double the text may be rounded twice: take the nearest single exactly.
    c = f32(float(q))
    if math.isinf(c):
        c = next_f32(c, -1)
    near = [v for v in (c, next_f32(c, -1), next_f32(c, 1)) if math.isfinite(v) and v > 0]
    best = min(near, key=lambda v: (abs(Fraction(v) - q), struct.unpack('I', struct.pack('f', v))[0] & 1))
    return best == x


def shortest(x, single):
    """Digits and decimal exponent of the shortest text that reads back to x; of several, the
    closest to x (the even last digit on a tie). Next to a power of two the nearest p-digit
    text may miss while one a unit of its last digit away reads back."""
    for p in range(1, 10 if single else 18):
        mant, exp = ('%.*e' % (p - 1, x)).split('e')
        m, k = int(mant.replace('.', '')), int(exp) - (p - 1)
        fits = [n for n in (m, m - 1, m + 1) if n > 0 and reads_back(n, k, x, single)]
        if fits:
            n = min(fits, key=lambda n: (abs(Fraction(n) * Fraction(10) ** k - Fraction(x)), n & 1))
            break
    else:  # not a value of the type: its double digits
        mant, exp = ('%.16e' % x).split('e')
        n, k = int(mant.replace('.', '')), int(exp) - 16
    digits = str(n)
    return digits.rstrip('0') or '0', len(digits) - 1 + k


def real_text(x, single):
    """A Float or Double as the runtime prints it: the shorter of the fixed and scientific
    forms of the shortest digits (fixed on a tie), '.0' added to a bare integer."""
    if math.isnan(x):
        return 'nan'
    if math.isinf(x):
        return 'inf' if x > 0 else '-inf'
    sign = '-' if math.copysign(1.0, x) < 0 else ''
    x = abs(x)
    if x == 0:
        return sign + '0.0'
    d, e = shortest(x, single)
    n = len(d)
    if e >= 0:
        fixed = d + '0' * (e + 1 - n) if n <= e + 1 else d[:e + 1] + '.' + d[e + 1:]
    else:
        fixed = '0.' + '0' * (-e - 1) + d
    sci = d[0] + ('.' + d[1:] if n > 1 else '') + 'e' + ('-' if e < 0 else '+') + '%02d' % abs(e)
    text = fixed if len(fixed) <= len(sci) else sci
    if text is fixed and e >= n:
        # The fixed form of a whole number shows all its digits, not the shortest ones.
        text = str(int(x))
    if all(c.isdigit() for c in text):
        text += '.0'
    return sign + text


def text_of(v, t):
    if t in REALS:
        return real_text(v, t == 'Float')
    return str(int(v))


def promote(a, b):
    for k in ('Double', 'Float'):
        if k in (a, b):
            return k
    for t in (a, b):
        if t in ('Long', 'ULong'):
            return t
    return 'Int'


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a < 0) == (b < 0) else -q


class Reject(Exception):
    """The expression would be undefined (division by zero, an overflowing conversion)."""


class E:
    """An expression: its text, its type and its value (the variables' values are known)."""

    def __init__(self, text, t, v, const=False):
        self.text, self.t, self.v, self.const = text, t, v, const


def convert(e, t):
    """Value of e converted to t, as an assignment, an argument or a cast does."""
    if t in REALS:
        if e.t in REALS and t == 'Float' and abs(e.v) > 3.0e38:
            raise Reject()
        return to_real(e.v, e.t, t)
    if e.t in REALS:
        if math.isnan(e.v) or math.isinf(e.v):
            raise Reject()
        v = int(e.v)  # truncates toward zero
        # Out of the target's range the C++ conversion is undefined.
        if not in_range(v, t):
            raise Reject()
        return v
    return wrap(e.v, t)


def int_literal(rng, t, v):
    if t == 'Long':
        return E('(%dL)' % v if v < 0 else '%dL' % v, t, v, True)
    if t == 'ULong':
        return E('%dUL' % v, t, v, True)
    if t == 'UInt':
        return E('%du' % v, t, v, True)
    if t == 'UByte':
        return E('%dUB' % v, t, v, True)
    if v == -(1 << 31):
        # -2147483648 negates 2147483648, whose folded value is not cut to 32 bits.
        return E('(-2147483647 - 1)', 'Int', v, True)
    return E('(%d)' % v if v < 0 else '%d' % v, 'Int', v, True)


def random_int(rng, t):
    bits, signed = INTS[t]
    r = rng.random()
    lo, hi = (-(1 << (bits - 1)), (1 << (bits - 1)) - 1) if signed else (0, (1 << bits) - 1)
    if r < 0.4:
        return max(lo, min(hi, rng.randint(-20, 20)))
    if r < 0.55:
        return rng.choice([lo, hi, lo + 1, hi - 1, 0, 1])
    return rng.randint(lo, hi)


def random_real(rng, t):
    """A real that its literal or a folded division gives exactly."""
    r = rng.random()
    if r < 0.3:
        return float(rng.randint(-50, 50))
    if r < 0.6:
        return rng.randint(-4000, 4000) / rng.choice([2, 4, 8, 16])
    v = rng.randint(-10 ** 6, 10 ** 6) / rng.choice([3, 7, 10, 100, 1000])
    return f32(v) if t == 'Float' else v


class Scope:
    """Variables of one section: name -> [type, value]."""

    def __init__(self, rng, prefix):
        self.rng, self.prefix, self.vars, self.n = rng, prefix, {}, 0

    def new(self, t, v):
        self.n += 1
        name = '%s%d' % (self.prefix, self.n)
        self.vars[name] = [t, v]
        return name


def real_decl(t, v):
    """Source text giving the real v exactly: a fraction of two integers, folded."""
    num, den = v.as_integer_ratio() if t == 'Double' or True else None
    if den <= 1 << 20 and abs(num) < 1 << 50:
        s = 'd' if t == 'Double' else ''
        if t == 'Float' and (abs(num) >= 1 << 24):
            return None
        text = '%d.0%s' % (abs(num), s)
        if den != 1:
            text = '(%s / %d.0%s)' % (text, den, s)
        return ('-' + text) if num < 0 else text
    return None


class Arith:
    """Random arithmetic over typed variables with known values."""

    OPS_INT = ['+', '-', '*', '/', 'Mod', '&', '|', '~', 'Shl', 'Shr']
    OPS_REAL = ['+', '-', '*', '/', 'Mod']
    CMPS = ['=', '<>', '<', '>', '<=', '>=']

    def __init__(self, rng, scope):
        self.rng, self.scope = rng, scope

    def leaf(self):
        rng = self.rng
        names = list(self.scope.vars)
        if names and rng.random() < 0.75:
            name = rng.choice(names)
            t, v = self.scope.vars[name]
            return E(name, t, v)
        if rng.random() < 0.2:
            # Float literals with a short binary fraction; Double literals whole.
            if rng.random() < 0.5:
                v = float(rng.randint(0, 100)) + rng.choice([0, 0.5, 0.25, 0.75])
                return E(repr(v), 'Float', v, True)
            v = float(rng.randint(0, 1000))
            return E('%dd' % v if False else '%d.0d' % v, 'Double', v, True)
        t = rng.choice(['Int', 'Int', 'Long', 'UInt', 'ULong', 'UByte'])
        v = rng.randint(0, 40) if rng.random() < 0.7 else random_int(rng, t)
        if t in ('UByte', 'UInt', 'ULong'):
            v = abs(v) if in_range(abs(v), t) else 7
        return int_literal(rng, t, v)

    def expr(self, depth):
        rng = self.rng
        for _ in range(20):
            try:
                if depth <= 0 or rng.random() < 0.25:
                    return self.leaf()
                r = rng.random()
                if r < 0.12:
                    return self.unary(self.expr(depth - 1))
                if r < 0.25:
                    return self.cast(self.expr(depth - 1), rng.choice(NUMERIC))
                return self.binary(rng.choice(self.OPS_INT), self.expr(depth - 1), self.expr(depth - 1))
            except Reject:
                continue
        return self.leaf()

    def unary(self, e):
        rng = self.rng
        if e.t in REALS:
            return E('-(%s)' % e.text, e.t, -e.v, e.const)
        op = rng.choice(['-', '~', 'Not'])
        if op == '-':
            if e.t in ('Int', 'Long') and e.v == -(1 << (INTS[e.t][0] - 1)):
                raise Reject()
            return E('-(%s)' % e.text, e.t, wrap(-e.v, e.t), e.const)
        if op == '~':
            return E('~(%s)' % e.text, e.t, wrap(~e.v, e.t), e.const)
        return E('(Not %s)' % e.text, e.t, 0 if e.v else 1, e.const)

    def cast(self, e, t):
        return E('%s(%s)' % (t, e.text), t, convert(e, t), e.const)

    def binary(self, op, l, r):
        if l.const and r.const:
            raise Reject()  # folded by the compiler: kept to values computed at run time
        t = promote(l.t, r.t)
        const = False
        text = '(%s %s %s)' % (l.text, op, r.text)
        if t in REALS:
            if op not in self.OPS_REAL:
                op = self.rng.choice(self.OPS_REAL)
                text = '(%s %s %s)' % (l.text, op, r.text)
            a, b = to_real(l.v, l.t, t), to_real(r.v, r.t, t)
            if op in ('/', 'Mod') and b == 0:
                raise Reject()
            v = {'+': lambda: a + b, '-': lambda: a - b, '*': lambda: a * b,
                 '/': lambda: a / b, 'Mod': lambda: math.fmod(a, b)}[op]()
            if math.isinf(v) or math.isnan(v) or abs(v) > 1e300:
                raise Reject()
            if t == 'Float':
                if abs(v) > 3.0e38:
                    raise Reject()
                v = f32(v)
            return E(text, t, v, const)
        a, b = l.v, r.v
        bits = INTS[t][0]
        if op in ('/', 'Mod'):
            if b == 0 or (b == -1 and a in (-(1 << 31), -(1 << 63))):
                raise Reject()
            q = trunc_div(a, b)
            v = q if op == '/' else a - b * q
        elif op in ('Shl', 'Shr'):
            if not 0 <= b < bits:
                if l.const:
                    raise Reject()
                r = int_literal(self.rng, 'Int', self.rng.randrange(INTS[promote(l.t, 'Int')][0]))
                b = r.v
                t = promote(l.t, r.t)
                bits = INTS[t][0]
                text = '(%s %s %s)' % (l.text, op, r.text)
            if op == 'Shl':
                v = wrap(a, t) << b
            else:
                v = (a & ((1 << bits) - 1)) >> b
        else:
            v = {'+': a + b, '-': a - b, '*': a * b, '&': a & b, '|': a | b, '~': a ^ b}[op]
        return E(text, t, wrap(v, t), const)

    def compare(self, l, r):
        op = self.rng.choice(self.CMPS)
        t = promote(l.t, r.t)
        if t in REALS:
            a, b = to_real(l.v, l.t, t), to_real(r.v, r.t, t)
        else:
            a, b = l.v, r.v
        v = {'=': a == b, '<>': a != b, '<': a < b, '>': a > b, '<=': a <= b, '>=': a >= b}[op]
        return E('(%s %s %s)' % (l.text, op, r.text), 'Bool', int(v))


def declare(rng, scope, out, t):
    """A Local of type t with a random value; returns its name."""
    if t in REALS:
        while True:
            v = random_real(rng, t)
            text = real_decl(t, v)
            if text is not None:
                break
        if t == 'Float':
            v = f32(v)
    else:
        v = random_int(rng, t)
        text = int_literal(rng, t, v).text if t in ('Long', 'ULong') else '%d' % v
    name = scope.new(t, v)
    out.append('\tLocal %s:%s = %s' % (name, t, text))
    return name


def section_arith(rng, k):
    code, exp = [], []
    scope = Scope(rng, 'a')
    for t in rng.sample(NUMERIC, 6) + [rng.choice(NUMERIC) for _ in range(3)]:
        declare(rng, scope, code, t)
    ar = Arith(rng, scope)
    for i in range(14):
        r = rng.random()
        if r < 0.15:
            # An assignment converts to the variable's type.
            name = rng.choice(list(scope.vars))
            t = scope.vars[name][0]
            try:
                e = ar.expr(3)
                if e.t == 'Bool':
                    continue
                v = convert(e, t)
            except Reject:
                continue
            code.append('\t%s = %s' % (name, e.text))
            scope.vars[name][1] = v
            code.append('\tPrint("%s " + %s)' % (name, name))
            exp.append('%s %s' % (name, text_of(v, t)))
        elif r < 0.3:
            e = ar.compare(ar.expr(2), ar.expr(2))
            code.append('\tPrint("c%d " + %s)' % (i, e.text))
            exp.append('c%d %d' % (i, e.v))
        elif r < 0.38:
            # A power of small integers is exact in either precision.
            base = ar.leaf()
            if base.t in REALS or abs(base.v) > 30 or base.const:
                continue
            n = rng.randint(0, 4)
            t = 'Float' if base.t not in REALS else base.t
            code.append('\tPrint(%s ^ %d)' % (base.text, n))
            exp.append(real_text(float(base.v) ** n, True))
        else:
            e = ar.expr(rng.randint(1, 4))
            code.append('\tPrint(%s)' % e.text)
            exp.append(text_of(e.v, e.t))
    return code, exp


# ---------------------------------------------------------------- text

WORDS = ['alpha', 'Beta', 'gamma', 'x', 'YZ', 'a,b,,c', '  pad  ', 'one two', '42', '-17', '', '3.5']


def zstr(s):
    return '"%s"' % s


def section_text(rng, k):
    code, exp = [], []
    scope = Scope(rng, 's')
    nums = [declare(rng, scope, code, rng.choice(NUMERIC)) for _ in range(4)]
    b = scope.new('Bool', rng.randint(0, 1))
    code.append('\tLocal %s:Bool = %s' % (b, 'True' if scope.vars[b][1] else 'False'))
    words = [rng.choice(WORDS) for _ in range(3)]
    sv = []
    for w in words:
        n = scope.new('String', w)
        sv.append(n)
        code.append('\tLocal %s:String = %s' % (n, zstr(w)))

    def val(name):
        t, v = scope.vars[name]
        return v if t == 'String' else text_of(v, t)

    for i in range(12):
        r = rng.random()
        if r < 0.35:
            parts = [rng.choice(nums + sv + [b]) for _ in range(rng.randint(2, 5))]
            if all(scope.vars[p][0] != 'String' for p in parts[:2]):
                parts.insert(rng.randint(0, 1), sv[0])
            # Left to right: numbers before the first string add up as numbers, so a string
            # comes first.
            if scope.vars[parts[0]][0] != 'String':
                parts.insert(0, '""')
            text = ' + '.join(parts)
            code.append('\tPrint(%s)' % text)
            exp.append(''.join('' if p == '""' else val(p) for p in parts))
            continue
        s = rng.choice(sv)
        w = scope.vars[s][1]
        m = rng.randrange(13)
        if m == 0:
            code.append('\tPrint(%s.Length() + %s.ToUpper() + %s.ToLower())' % (s, s, s))
            exp.append('%d%s%s' % (len(w), w.upper(), w.lower()))
        elif m == 1:
            a, c = rng.randint(0, 6), rng.randint(-1, 6)
            code.append('\tPrint("[" + %s.Mid(%d, %d) + "]")' % (s, a, c))
            exp.append('[%s]' % (w[a:] if c < 0 else w[a:a + c]))
        elif m == 2:
            c = rng.randint(0, 7)
            code.append('\tPrint(%s.Left(%d) + "|" + %s.Right(%d))' % (s, c, s, c))
            exp.append('%s|%s' % (w[:c], w[len(w) - c:] if c < len(w) else w))
        elif m == 3:
            sub = rng.choice(['a', 'b', ',', ' ', 'YZ', 'zz'])
            code.append('\tPrint(%s.Find("%s") + " " + %s.Contains("%s") + %s.StartsWith("%s"))'
                        % (s, sub, s, sub, s, sub))
            exp.append('%d %d%d' % (w.find(sub), sub in w, w.startswith(sub)))
        elif m == 4:
            code.append('\tPrint("<" + %s.Trim() + ">" + %s.Replace("a", "--"))' % (s, s))
            exp.append('<%s>%s' % (w.strip(' \t\r\n\v\f'), w.replace('a', '--')))
        elif m == 5:
            wd = rng.randint(0, 9)
            code.append('\tPrint(%s.PadLeft(%d, "*") + %s.PadRight(%d))' % (s, wd, s, wd))
            exp.append(w.rjust(wd, '*') + w.ljust(wd))
        elif m == 6:
            code.append('\tPrint(%s.Split(",").Length + " " + String.Join(%s.Split(","), "+"))' % (s, s))
            exp.append('%d %s' % (len(w.split(',')), '+'.join(w.split(','))))
        elif m == 7:
            i2 = rng.randint(-1, 6)
            c = ord(w[i2]) if 0 <= i2 < len(w) else -1
            code.append('\tPrint(%s.CharAt(%d) + String.FromChar(%d))' % (s, i2, 65 + i2 + 1))
            exp.append('%d%s' % (c, chr(66 + i2)))
        elif m == 8:
            o = rng.choice(sv)
            wo = scope.vars[o][1]
            cmp = (w > wo) - (w < wo)
            code.append('\tPrint(%s.Equals(%s) + " " + %s.Compare(%s))' % (s, o, s, o))
            exp.append('%d %d' % (w == wo, cmp))
        elif m == 9:
            t = rng.choice(['Int', 'Long', 'Byte', 'UInt'])
            v = parse_int(w)
            v = wrap(v, 'Int') if t in ('Int', 'Byte') else v
            code.append('\tPrint(%s(%s))' % (t, s))
            exp.append(str(wrap(v, t)))
        elif m == 10:
            name = rng.choice(nums)
            t, v = scope.vars[name]
            d = rng.randint(0, 6)
            code.append('\tPrint(String.FromDouble(%s, %d) + " " + String.FromDouble(%s))' % (name, d, name))
            fv = to_real(v, t, 'Double')
            exp.append('%.*f %s' % (d, fv, real_text(fv, False)))
        elif m == 11:
            name = rng.choice(nums)
            t, v = scope.vars[name]
            code.append('\tLocal t%d:String = %s' % (i, name))
            code.append('\tPrint(t%d.Length() + ":" + t%d)' % (i, i))
            txt = text_of(v, t)
            exp.append('%d:%s' % (len(txt), txt))
        else:
            code.append('\tLocal d%d:Double = Double(%s)' % (i, s))
            code.append('\tPrint(d%d)' % i)
            exp.append(real_text(parse_double(w), False))
    return code, exp


def parse_int(w):
    s = w.lstrip(' \t\r\n\v\f')
    neg = s[:1] == '-'
    if s[:1] in '+-' and s:
        s = s[1:]
    digits = ''
    for ch in s:
        if not ch.isdigit():
            break
        digits += ch
    v = int(digits) if digits else 0
    return wrap(-v if neg else v, 'Long')


def parse_double(w):
    s = w.strip()
    best = 0.0
    for n in range(1, len(s) + 1):
        try:
            best = float(s[:n])
        except ValueError:
            pass
    return best


# ---------------------------------------------------------------- loops and Select

def section_loops(rng, k):
    """Every loop form with Exit and Continue, and Select, traced into an output string."""
    code, exp = ['\tLocal out:String = ""', '\tLocal n:Int', '\tLocal i:Int'], []
    for j in range(5):
        form = rng.randrange(6)
        code.append('\tout = ""')
        trace = []
        md, rem, stop = rng.randint(2, 4), rng.randint(0, 3), rng.randint(-2, 15)
        body = ['\t\tIf %s Mod %d = %d Then Continue' % ('{v}', md, rem),
                '\t\tIf {v} = %d Then Exit' % stop,
                '\t\tout = out + {v} + ","']

        def run_body(x):
            """One pass of the body: False when its Exit ends the loop."""
            if x % md == rem if x >= 0 else -((-x) % md) == rem:
                return True
            if x == stop:
                return False
            trace.append('%d,' % x)
            return True

        if form in (0, 1):
            lo, hi = rng.randint(-5, 5), rng.randint(-5, 12)
            step = rng.choice([None, 1, 2, 3, -1, -2, -3])
            if step is not None and step < 0:
                lo, hi = hi, lo
            until = form == 1
            local = rng.random() < 0.5
            var = 'k' if local else 'i'
            head = 'For %s = %d %s %d' % ('Local k:Int' if local else 'i', lo, 'Until' if until else 'To', hi)
            if step is not None:
                head += ' Step %d' % step
            code.append('\t' + head)
            code += [b.format(v=var) for b in body]
            code.append('\tNext')
            s = step or 1
            x = lo
            while True:
                test = x + s if (until and step is not None) else x
                if s > 0:
                    ok = test < hi if (until and step is None) else test <= hi
                else:
                    ok = test >= hi
                if not ok:
                    break
                if not run_body(x):
                    break
                x += s
            if not local:
                code.append('\tout = out + "i" + i')
                trace.append('i%d' % x)
        elif form == 2:
            lim = rng.randint(0, 12)
            code += ['\tn = 0', '\tWhile n < %d' % lim, '\t\tn = n + 1'] + [b.format(v='n') for b in body] + ['\tWend']
            n = 0
            while n < lim:
                n += 1
                if not run_body(n):
                    break
        elif form == 3:
            lim = rng.randint(0, 12)
            code += ['\tn = 0', '\tRepeat', '\t\tn = n + 1'] + [b.format(v='n') for b in body] + ['\tUntil n >= %d' % lim]
            n = 0
            while True:
                n += 1
                if not run_body(n) or n >= lim:
                    break
        elif form == 4:
            lim = rng.randint(1, 12)
            code += ['\tn = 0', '\tRepeat', '\t\tn = n + 1', '\t\tIf n > %d Then Exit' % lim] + \
                [b.format(v='n') for b in body] + ['\tForever']
            n = 0
            while True:
                n += 1
                if n > lim or not run_body(n):
                    break
        else:
            # Nested: an Exit or Continue of the inner loop leaves the outer one running.
            a, b2 = rng.randint(1, 4), rng.randint(1, 4)
            code += ['\tFor Local p:Int = 1 To %d' % a,
                     '\t\tFor Local q:Int = 1 To %d' % b2,
                     '\t\t\tIf q = %d Then Exit' % stop,
                     '\t\t\tIf (p + q) Mod %d = %d Then Continue' % (md, rem),
                     '\t\t\tout = out + p + q + " "',
                     '\t\tNext',
                     '\t\tIf p = %d Then Continue' % (stop % 4),
                     '\t\tout = out + ";"',
                     '\tNext']
            for p in range(1, a + 1):
                for q in range(1, b2 + 1):
                    if q == stop:
                        break
                    if (p + q) % md == rem:
                        continue
                    trace.append('%d%d ' % (p, q))
                if p == stop % 4:
                    continue
                trace.append(';')
        code.append('\tPrint("L%d " + out)' % j)
        exp.append('L%d %s' % (j, ''.join(trace)))
    # Select: cases compared in order, Default wherever it stands, Exit inside leaves the loop.
    vals = rng.sample(range(-3, 8), rng.randint(1, 4))
    dflt = rng.random() < 0.7
    lim = rng.randint(3, 9)
    ex = rng.choice(vals + [99])
    code += ['\tout = ""', '\tFor Local c:Int = -3 To %d' % lim, '\t\tSelect c * 1']
    cases = [('Case %d' % v, v) for v in vals]
    if dflt:
        cases.insert(rng.randint(0, len(cases)), ('Default', None))
    for head, v in cases:
        code.append('\t\t' + head)
        if v == ex:
            code.append('\t\t\tExit')
        else:
            code.append('\t\t\tout = out + "%s" + c' % ('d' if v is None else 'c'))
    code += ['\t\tEndSelect', '\tNext', '\tPrint("S " + out)']
    trace = []
    for c in range(-3, lim + 1):
        if c in vals:
            if c == ex:
                break
            trace.append('c%d' % c)
        elif dflt:
            trace.append('d%d' % c)
    exp.append('S ' + ''.join(trace))
    return code, exp


# ---------------------------------------------------------------- functions with defaults

def dd_text(v, den):
    return '(%d.0d / %d.0d)' % (v * den, den) if v >= 0 else '-(%d.0d / %d.0d)' % (-v * den, den)


def section_functions(rng, k, top):
    code, exp = [], []
    name = 'F%d' % k
    da, db, ds = rng.randint(-50, 50), rng.randint(0, 1 << 40), rng.choice(WORDS[:5])
    dd = rng.randint(-40, 40) / 4
    top.append('Const D%d:Int = %d' % (k, da))
    top.append('Function %s:String(x:Int, a:Int = D%d, b:Long = %dL, d:Double = %s, s:String = "%s")'
               % (name, k, db, dd_text(dd, 4), ds))
    top.append('\tReturn s + ":" + (x * 3 + a) + ":" + (b - x) + ":" + (d * 2)')
    top.append('EndFunction')
    for i in range(4):
        args = [rng.randint(-1000, 1000)]
        vals = [args[0], da, db, dd, ds]
        n = rng.randint(0, 4)
        given = []
        for j in range(n):
            if j == 0:
                vals[1] = rng.randint(-1000, 1000)
                given.append(str(vals[1]))
            elif j == 1:
                vals[2] = rng.randint(-1 << 40, 1 << 40)
                given.append('%dL' % vals[2] if vals[2] >= 0 else '(%dL)' % vals[2])
            elif j == 2:
                vals[3] = rng.randint(-100, 100) / 8
                given.append(dd_text(vals[3], 8))
            else:
                vals[4] = rng.choice(WORDS[:5])
                given.append('"%s"' % vals[4])
        x, a, b, d, s = vals
        code.append('\tPrint(%s(%s))' % (name, ', '.join(['%d' % x if x >= 0 else '(%d)' % x] + given)))
        exp.append('%s:%d:%d:%s' % (s, wrap(x * 3 + a, 'Int'), b - x, real_text(d * 2, False)))
    return code, exp


# ---------------------------------------------------------------- arrays

def section_arrays(rng, k):
    code, exp = [], []
    dims = rng.randint(1, 3)
    sizes = [rng.randint(1, 4) for _ in range(dims)]
    et = rng.choice(['Int', 'Long', 'Double', 'Byte', 'UShort', 'String'])
    mul = [rng.randint(1, 9) for _ in range(3)]
    idx = ['i', 'j', 'm'][:dims]
    code.append('\tLocal g:%s[%s] = New %s[%s]' % (et, ',' * (dims - 1), et, ', '.join(map(str, sizes))))
    form = ' + '.join('%s * %d' % (v, m) for v, m in zip(idx, mul))
    for d, v in enumerate(idx):
        code.append('\t' * (d + 1) + 'For Local %s:Int = 0 Until %d' % (v, sizes[d]))
    ind = '\t' * (dims + 1)
    if et == 'String':
        code.append(ind + 'g[%s] = "" + (%s)' % (', '.join(idx), form))
    elif et == 'Double':
        code.append(ind + 'g[%s] = (%s) / 4.0d' % (', '.join(idx), form))
    else:
        code.append(ind + 'g[%s] = (%s) * 37 - 50' % (', '.join(idx), form))
    for d in reversed(range(dims)):
        code.append('\t' * (d + 1) + 'Next')

    import itertools
    cells = {}
    for ix in itertools.product(*[range(s) for s in sizes]):
        base = sum(a * b for a, b in zip(ix, mul))
        if et == 'String':
            cells[ix] = str(base)
        elif et == 'Double':
            cells[ix] = base / 4.0
        else:
            cells[ix] = wrap(base * 37 - 50, et)
    code.append('\tPrint(g.Length + " " + %s)' % ' + " " + '.join('g.Size(%d)' % d for d in range(dims)))
    exp.append('%d %s' % (len(cells), ' '.join(map(str, sizes))))
    for _ in range(3):
        ix = tuple(rng.randrange(s) for s in sizes)
        code.append('\tPrint(g[%s])' % ', '.join(map(str, ix)))
        exp.append(cells[ix] if et == 'String' else text_of(cells[ix], et))
    if et != 'String':
        st = 'Double' if et == 'Double' else 'Long'
        code.append('\tLocal total:%s = 0' % st)
        for d, v in enumerate(idx):
            code.append('\t' * (d + 1) + 'For Local %s:Int = 0 Until g.Size(%d)' % (v, d))
        code.append(ind + 'total = total + g[%s]' % ', '.join(idx))
        for d in reversed(range(dims)):
            code.append('\t' * (d + 1) + 'Next')
        code.append('\tPrint("total " + total)')
        exp.append('total ' + text_of(sum(cells.values()), st) if st == 'Long'
                   else 'total ' + real_text(float(sum(cells[ix] for ix in sorted(cells))), False))
    vals = [rng.randint(-100, 100) for _ in range(rng.randint(1, 6))]
    code.append('\tLocal lit:Int[] = [%s]' % ', '.join(map(str, vals)))
    code.append('\tLocal acc:Int = 0')
    code.append('\tFor Local i:Int = 0 Until lit.Length')
    code.append('\t\tacc = acc * 3 + lit[i]')
    code.append('\tNext')
    code.append('\tPrint("lit " + lit.Length + " " + acc)')
    acc = 0
    for v in vals:
        acc = wrap(acc * 3 + v, 'Int')
    exp.append('lit %d %d' % (len(vals), acc))
    return code, exp


# ---------------------------------------------------------------- classes

def section_classes(rng, k, top):
    """A chain of classes: constructors calling Super, overriding, class globals, constants
    and functions, simulated here as a list of per-class parameters."""
    code, exp = [], []
    depth = rng.randint(1, 3)
    classes = []
    for c in range(depth):
        cl = dict(name='K%d_%d' % (k, c), init=rng.randint(-20, 20), kc=rng.randint(1, 9),
                  mul=rng.randint(1, 5), override=c == 0 or rng.random() < 0.7,
                  sup=rng.random() < 0.6, dflt=rng.randint(0, 9))
        classes.append(cl)
    for c, cl in enumerate(classes):
        ext = ' Extends %s' % classes[c - 1]['name'] if c else ''
        n = cl['name']
        top.append('Class %s%s' % (n, ext))
        top.append('\tField f%d:Int = %d' % (c, cl['init']))
        top.append('\tGlobal made%d:Int' % c)
        top.append('\tConst KC%d:Int = %d' % (c, cl['kc']))
        top.append('\tMethod %s(a:Int = %d)' % (n, cl['dflt']))
        if c:
            top.append('\t\tSuper(a + KC%d)' % c)
        top.append('\t\tf%d = f%d + a * %d' % (c, c, cl['mul']))
        top.append('\t\tmade%d = made%d + 1' % (c, c))
        top.append('\tEndMethod')
        if cl['override']:
            top.append('\tMethod Calc:Int(x:Int)')
            if c and cl['sup']:
                top.append('\t\tReturn Super.Calc(x) * 2 + f%d' % c)
            else:
                top.append('\t\tReturn x * %d + f%d' % (cl['mul'], c))
            top.append('\tEndMethod')
        top.append('\tFunction Twice%d:Int(x:Int)' % c)
        top.append('\t\tReturn x * 2 + KC%d' % c)
        top.append('\tEndFunction')
        top.append('EndClass')

    made = [0] * depth

    def construct(c, a):
        fields = {}

        def run(ci, av):
            if ci:
                run(ci - 1, av + classes[ci]['kc'])
            fields[ci] = classes[ci]['init'] + av * classes[ci]['mul']
            made[ci] += 1
        run(c, a)
        return fields

    def calc(c, fields, x):
        ci = c
        while not classes[ci]['override']:
            ci -= 1

        def at(ci):
            cl = classes[ci]
            if ci and cl['sup']:
                pi = ci - 1
                while not classes[pi]['override']:
                    pi -= 1
                return wrap(at(pi) * 2 + fields[ci], 'Int')
            return wrap(x * cl['mul'] + fields[ci], 'Int')
        return at(ci)

    base = classes[0]['name']
    for i in range(4):
        c = rng.randrange(depth)
        n = classes[c]['name']
        if rng.random() < 0.3:
            a = classes[c]['dflt']
            code.append('\tLocal o%d:%s = New %s' % (i, base, n))
        else:
            a = rng.randint(-50, 50)
            code.append('\tLocal o%d:%s = New %s(%d)' % (i, base, n, a))
        fields = construct(c, a)
        x = rng.randint(-30, 30)
        code.append('\tPrint(o%d.Calc(%d) + " " + o%d.f0)' % (i, x, i))
        exp.append('%d %d' % (calc(c, fields, x), fields[0]))
    c = rng.randrange(depth)
    n = classes[c]['name']
    code.append('\tPrint(%s.made%d + " " + %s.KC%d + " " + %s.Twice%d(%d))' % (n, c, n, c, n, c, c + 5))
    exp.append('%d %d %d' % (made[c], classes[c]['kc'], (c + 5) * 2 + classes[c]['kc']))
    return code, exp


SECTIONS = ['arith', 'arith', 'text', 'loops', 'functions', 'arrays', 'classes']


def program(seed):
    """(source, expected output) of the program of this seed."""
    rng = random.Random(seed)
    top, main, expected = ['// Random program %d' % seed], [], []
    for k, kind in enumerate(SECTIONS):
        if kind in ('functions', 'classes'):
            code, exp = globals()['section_' + kind](rng, k, top)
        else:
            code, exp = globals()['section_' + kind](rng, k)
        top.append('Function Section%d()' % k)
        top += code
        top.append('EndFunction')
        main.append('Section%d()' % k)
        expected += exp
    return '\n'.join(top + main) + '\n', '\n'.join(expected) + '\n'


if __name__ == '__main__':
    import sys
    src, out = program(int(sys.argv[1]) if len(sys.argv) > 1 else 1)
    sys.stdout.write(src)
    sys.stderr.write(out)
