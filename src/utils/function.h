#pragma once

#include "utils/trackable.h"

#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>

// Small value-type callables. A callable made from a member function of a class that derives from
// utils::trackable remembers that receiver, so signals can drop the connection when it dies.
namespace utils {

namespace detail {

template <class T>
trackable* trackable_part(T* object) {
    if constexpr (std::is_base_of<trackable, T>::value)
        return object;
    else
        return nullptr;
}

template <class R, class... A>
class function_poly {
public:
    virtual ~function_poly() = default;
    virtual function_poly* clone() const = 0;
    virtual R invoke(A... args) = 0;
    virtual bool equals(const function_poly& other) const = 0;
};

template <class R>
using function0_poly = function_poly<R>;
template <class R, class A>
using function1_poly = function_poly<R, A>;
template <class R, class A, class B>
using function2_poly = function_poly<R, A, B>;

// Member function of an object.
template <class T, class MF, class R, class... A>
class function_mf final : public function_poly<R, A...> {
public:
    function_mf(T* object, MF method) : object(object), method(method) {}
    function_poly<R, A...>* clone() const override { return new function_mf(*this); }
    R invoke(A... args) override { return (object->*method)(std::forward<A>(args)...); }
    bool equals(const function_poly<R, A...>& other) const override {
        auto* o = dynamic_cast<const function_mf*>(&other);
        return o && o->object == object && o->method == method;
    }

private:
    T* object;
    MF method;
};

// Another callable value, possibly of a different signature (for example a callable taking
// const std::wstring& used where the signal passes std::wstring by value).
template <class F, class R, class... A>
class function_f final : public function_poly<R, A...> {
public:
    explicit function_f(const F& inner) : inner(inner) {}
    function_poly<R, A...>* clone() const override { return new function_f(*this); }
    R invoke(A... args) override { return inner(std::forward<A>(args)...); }
    bool equals(const function_poly<R, A...>& other) const override {
        auto* o = dynamic_cast<const function_f*>(&other);
        return o && o->inner.same_target(inner);
    }

private:
    F inner;
};

// Any other function object (free functions, lambdas); never tracked, never equal to another.
template <class C, class R, class... A>
class function_object final : public function_poly<R, A...> {
public:
    explicit function_object(C call) : call(std::move(call)) {}
    function_poly<R, A...>* clone() const override { return new function_object(*this); }
    R invoke(A... args) override { return call(std::forward<A>(args)...); }
    bool equals(const function_poly<R, A...>& other) const override { return &other == this; }

private:
    C call;
};

template <class T>
struct is_function_value : std::false_type {};

} // namespace detail

template <class R, class... A>
class function {
public:
    using poly = detail::function_poly<R, A...>;
    using result_type = R;

    function() = default;

    template <class T, class MF>
    function(T* object, MF method)
        : target(detail::trackable_part(object)),
          impl(new detail::function_mf<T, MF, R, A...>(object, method)) {}

    // Wraps another callable value or a plain function object.
    template <class C, class = std::enable_if_t<!std::is_same<std::decay_t<C>, function>::value>>
    function(C call) : target(nullptr) {
        using D = std::decay_t<C>;
        if constexpr (detail::is_function_value<D>::value) {
            target = call.get_target();
            impl.reset(new detail::function_f<D, R, A...>(call));
        } else {
            impl.reset(new detail::function_object<D, R, A...>(std::move(call)));
        }
    }

    function(const function& other)
        : target(other.target), impl(other.impl ? other.impl->clone() : nullptr) {}
    function(function&& other) noexcept = default;
    function& operator=(function other) noexcept {
        std::swap(target, other.target);
        std::swap(impl, other.impl);
        return *this;
    }
    ~function() = default;

    R operator()(A... args) const { return impl->invoke(std::forward<A>(args)...); }

    explicit operator bool() const { return impl != nullptr; }
    trackable* get_target() const { return target; }
    bool same_target(const function& other) const { return impl && other.impl && impl->equals(*other.impl); }

private:
    trackable* target = nullptr;
    std::unique_ptr<poly> impl;
};

namespace detail {
template <class R, class... A>
struct is_function_value<function<R, A...>> : std::true_type {};
} // namespace detail

template <class R>
using function0 = function<R>;
template <class R, class A>
using function1 = function<R, A>;
template <class R, class A, class B>
using function2 = function<R, A, B>;

} // namespace utils
