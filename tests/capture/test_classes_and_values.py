"""What a capture writes for values MOF has no plain literal for and for classes that derive from
others, and that capturing the capture gives the same file (so the replay reads back the same
values, classes and instances)."""
import io
import unittest

import capture_support as support
import scenario

REALS = u'''
class Reals { real32 F; real64 D; real32 Fs[]; real64 Ds[]; };
instance of Reals {
    F = 1e999; D = -1e999;
    Fs = { 1e999, -1e999, nan, -0.0, 1.40129846e-45, 3.40282347e+38, 0.1 };
    Ds = { 1e999, -1e999, NaN, -0.0, 4.9406564584124654e-324, 1.7976931348623157e+308, 0.1 };
};
'''

HIERARCHY = u'''
class Base { string Name; };
class Middle : Base { uint32 Level; };
class Leaf : Middle { real64 Weight; };
class Holder { Base Item; Base Items[]; };
instance of Base { Name = "base"; };
instance of Leaf { Name = "leaf"; Level = 2; Weight = 0.5; };
instance of Middle { Name = "middle"; Level = 1; };
instance of Holder {
    Item = instance of Leaf { Name = "held"; };
    Items = { instance of Middle { Level = 3; }, instance of Base { Name = "plain"; } };
};
'''


def body(text):
    """A capture without its header comments and pragma."""
    return u'\n'.join(line for line in text.split(u'\n') if not line.startswith((u'//', u'#pragma'))).strip()


class CapturedContentTest(unittest.TestCase):
    def capture_twice(self, fixture, classes):
        """The capture of the fixture, after checking that capturing that capture gives it again."""
        with support.Workdir() as work:
            first_path = work.file('first.mof')
            first = support.capture(['/o', first_path] + classes, repository=work.file('original.mof', fixture))
            self.assertEqual((0, u'', b''), (first.returncode, first.error_text, first.stdout))
            self.assertEqual([scenario.NO_LEAKS], first.log[-1:])
            with io.open(first_path, encoding='utf-8') as f:
                text = f.read()
            second = support.capture(classes, repository=first_path)
            self.assertEqual((0, u''), (second.returncode, second.error_text))
            self.assertEqual(support.without_capture_time(text), support.without_capture_time(second.text))
            return body(text)

    def test_every_real_reads_back_as_captured(self):
        self.assertIn(u'''instance of Reals {
    F = inf;
    D = -inf;
    Fs = { inf, -inf, nan, -0, 1.40129846e-45, 3.40282347e+38, 0.100000001 };
    Ds = { inf, -inf, nan, -0, 4.9406564584124654e-324, 1.7976931348623157e+308, 0.10000000000000001 };
};''', self.capture_twice(REALS, ['Reals']))

    def test_a_subclass_follows_its_superclass_with_the_properties_it_adds(self):
        self.assertEqual(u'''class Base {
    string Name;
};

class Middle : Base {
    uint32 Level;
};

class Leaf : Middle {
    real64 Weight;
};

instance of Leaf {
    Name = "leaf";
    Level = 2;
    Weight = 0.5;
};''', self.capture_twice(HIERARCHY, ['Leaf']))
        holder = self.capture_twice(HIERARCHY, ['Holder'])
        self.assertIn(u'    Item = instance of Leaf {', holder)
        self.assertIn(u'        instance of Middle {', holder)

    def test_each_instance_is_recorded_once_whatever_classes_are_asked_for(self):
        cases = (
            (['Base'], [u'base', u'leaf', u'middle']),
            (['Base', 'Leaf', 'Middle'], [u'base', u'leaf', u'middle']),
            (['Leaf', 'Base'], [u'leaf', u'base', u'middle']),
            (['Middle', 'Leaf'], [u'leaf', u'middle']),
        )
        for classes, names in cases:
            text = self.capture_twice(HIERARCHY, classes)
            found = [line.split(u'"')[1] for line in text.split(u'\n') if line.startswith(u'    Name = ')]
            self.assertEqual(names, found, classes)


if __name__ == '__main__':
    unittest.main()
